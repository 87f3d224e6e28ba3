// The frames of the ID3v2 header tag as text lines.
//
// The walk reads every frame in the ID3v2.3 layout (4-byte identifier, 4-byte
// size of which the first byte only marks a frame as too large, 2 flag bytes)
// and does not look at the tag size, the extended header or the frame flags:
// the list ends at padding (a zero byte) or at the first audio frame (0xFF).
// Each frame's content is decoded by its declared encoding (tags/frame_text.h);
// the text is UTF-8 and its limits count characters.
#include <vector>

#include "tags/field_text.h"
#include "tags/frame_descriptions.h"
#include "tags/frame_text.h"
#include "tags/tag_read.h"
#include "tags/text_encoding.h"

namespace qc {

namespace {

constexpr std::int64_t firstframe = 11;  // 1-based, after the 10-byte tag header

struct FrameHeader {
    FrameId id{};
    std::uint8_t sizebytes[4] = {};
    std::uint8_t flags[2] = {};

    std::int64_t size() const
    {
        return sizebytes[1] * 65536 + sizebytes[2] * 256 + sizebytes[3];
    }
    bool toolarge() const { return sizebytes[0] != 0 || size() > tagview::maxshownsize; }
};

enum class Walk { Next, End, Failed };

bool readok(BinaryFile& file, void* buf, std::size_t n)
{
    file.read(buf, n);
    return file.ioresult() == 0;
}

bool readheader(BinaryFile& file, std::int64_t p, FrameHeader& h)
{
    file.seek(p - 1);
    if (!readok(file, h.id.data(), h.id.size()))
        return false;
    for (std::uint8_t& b : h.sizebytes)
        if (!readok(file, &b, 1))
            return false;
    return readok(file, h.flags, sizeof h.flags);
}

// The content as shown (see tags/frame_text.h); at most 255 characters are kept.
bool readcontent(BinaryFile& file, const FrameId& id, std::int64_t size, std::string& shown)
{
    std::vector<std::uint8_t> content(static_cast<std::size_t>(size));
    if (size > 0 && !readok(file, content.data(), content.size()))
        return false;
    shown = utf8prefix(frameviewtext(id, content), tagview::maxcontent);
    return true;
}

// The description as UTF-8: an unknown identifier's own bytes are Windows-1252.
std::string describe(const FrameId& id)
{
    const std::string d = framedescription(id);
    return windows1252toutf8({reinterpret_cast<const std::uint8_t*>(d.data()), d.size()});
}

bool isstop(const std::string& description)
{
    return description.starts_with(tagview::stopid);
}

// One frame at position p: appends its line, or tells why the list ends.
Walk listframe(BinaryFile& file, std::int64_t p, std::string& text, std::int64_t& next)
{
    std::int64_t filesize = file.size();
    if (file.ioresult() != 0)
        return Walk::Failed;
    if (filesize < p)
        return Walk::End;
    file.seek(p - 1);
    std::uint8_t first = 0;
    if (!readok(file, &first, 1))
        return Walk::Failed;
    if (first == 0x00 || first == 0xFF)
        return Walk::End;

    FrameHeader h;
    if (!readheader(file, p, h))
        return Walk::Failed;
    std::string line;
    if (h.toolarge()) {
        std::string description = describe(h.id);
        if (isstop(description))
            return Walk::End;
        line = description + tagview::toolarge;
    } else {
        std::string content;
        if (!readcontent(file, h.id, h.size(), content))
            return Walk::Failed;
        std::string description = describe(h.id);
        if (isstop(description))
            return Walk::End;
        line = description + ": " + trimblanks(content);
    }
    text += line + "\r\n";
    next = p + h.size() + 10;
    return Walk::Next;
}

}  // namespace

TagRead readid3v2(BinaryFile& file)
{
    TagRead out;
    std::uint8_t id[3] = {};
    file.seek(0);
    if (!readok(file, id, sizeof id) || id[0] != 'I' || id[1] != 'D' || id[2] != '3') {
        out.readfail = true;
        return out;
    }
    std::int64_t p = firstframe;
    for (int k = 1;; ++k) {
        Walk w = listframe(file, p, out.text, p);
        if (w == Walk::Failed)
            out.readfail = true;
        if (w != Walk::Next)
            break;
        if (utf8length(out.text) > tagview::maxtextlength) {
            out.text = utf8prefix(out.text, tagview::cuttextlength) + " ...";
            break;
        }
        if (k >= tagview::maxframes) {
            out.text += "...";
            break;
        }
    }
    return out;
}

}  // namespace qc
