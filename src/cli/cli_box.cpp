#include "cli/cli_box.h"

namespace qccli {

void CliBox::reset()
{
    warnings.clear();
    error.clear();
    messages.clear();
    answers.reset();
}

int CliBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    if (style == 48 && caption == "Error")
        error = text;
    else
        messages.push_back(text);
    return ui::idok;
}

std::string plainlines(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace qccli
