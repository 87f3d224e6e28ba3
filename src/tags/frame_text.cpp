#include "tags/frame_text.h"

#include "tags/id3v2_frames.h"
#include "tags/text_encoding.h"

namespace qc {

namespace {

bool printable(const std::string& id)
{
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// The text without characters below U+0020 (in UTF-8 those are single bytes).
std::string withoutcontrols(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20)
            out += c;
    return out;
}

// A language code as stored, when it is one: three letters.
bool language(const std::string& code)
{
    if (code.size() != 3)
        return false;
    for (char c : code)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

}  // namespace

std::string frameviewtext(const FrameId& id, std::span<const std::uint8_t> content)
{
    const std::string name(id.begin(), id.end());
    if (printable(name)) {
        // A link frame holds no encoding byte; one written there anyway is
        // not part of the link.
        if (name[0] == 'W' && name != "WXXX" && !content.empty() && content[0] < 0x20)
            content = content.subspan(1);
        const Id3v2Frame frame = decodedframe(name, content);
        if (frame.text) {
            std::string shown;
            if (frame.language && language(*frame.language))
                shown += "[" + *frame.language + "] ";
            const std::string& description = frame.contentdescription.value_or(std::string());
            if (!description.empty())
                shown += frame.text->empty() ? description : description + ": ";
            return withoutcontrols(shown + *frame.text);
        }
    }
    std::string out;
    for (std::uint8_t b : content)
        if (b >= 0x20)
            appendutf8(out, windows1252char(b));
    return out;
}

}  // namespace qc
