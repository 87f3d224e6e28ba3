#include "cli/cli_box.h"

#include "analysis/scanner.h"

namespace qccli {

void CliBox::reset()
{
    warnings.clear();
    error.clear();
    messages.clear();
    refusedtruncation = false;
    truncated = false;
}

int CliBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    const std::string prefix = qc::errorprefix;
    if (caption == "error" && text.compare(0, prefix.size(), prefix) == 0) {
        error = text.substr(prefix.size());
        return ui::idok;
    }
    switch (style) {
    case 36:  // the policy questions; only asked under the prompt policy
        return attempt ? ui::idyes : ui::idno;
    case 67:  // display some of the unknown data? nobody would read it
        return ui::idno;
    case 65:  // truncate a damaged tail or cancel
        if (attempt) {
            truncated = true;
            return ui::idok;
        }
        refusedtruncation = true;
        return ui::idcancel;
    case 323:  // include the unknown data in the output?
        return includeunknown ? ui::idyes : ui::idno;
    case 48:
        if (caption == "Warning")
            warnings.push_back(text);
        else if (caption == "Error")
            error = text;
        else
            messages.push_back(text);
        return ui::idok;
    default:
        messages.push_back(text);
        return ui::idok;
    }
}

}  // namespace qccli
