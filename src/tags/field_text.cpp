#include "tags/field_text.h"

namespace qc {

std::string fieldtext(const std::uint8_t* bytes, std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        if (bytes[i] != 0)
            text += static_cast<char>(bytes[i]);
        else if (!text.empty())
            break;
    }
    return trimblanks(text);
}

std::string idtext(const FrameId& id)
{
    return fieldtext(id.data(), id.size());
}

std::string trimblanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace qc
