#include "tags/id3v2_frames.h"

#include "tags/tag_numbers.h"

#include "tags/text_encoding.h"

namespace qc {

namespace {

using Bytes = std::vector<std::uint8_t>;
using View = std::span<const std::uint8_t>;

// Unsynchronisation put a zero byte after every 0xFF; taking them out again.
Bytes resynchronised(View b)
{
    Bytes out;
    out.reserve(b.size());
    for (std::size_t i = 0; i < b.size(); ++i) {
        out.push_back(b[i]);
        if (b[i] == 0xFF && i + 1 < b.size() && b[i + 1] == 0x00)
            ++i;
    }
    return out;
}

bool validid(View id)
{
    for (std::uint8_t c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

TextEncoding encodingof(std::uint8_t b)
{
    return b <= 3 ? static_cast<TextEncoding>(b) : TextEncoding::Latin1;
}

// A text field of one or more zero-separated strings (2.4 lists several
// values so); they are joined by "/", as 2.3 writes several performers.
// Zero bytes after the last string (a field padded with them) add nothing.
std::string decodestrings(TextEncoding enc, View b)
{
    std::vector<std::string> strings;
    while (!b.empty()) {
        std::size_t next = 0;
        std::size_t n = stringlength(enc, b, &next);
        strings.push_back(decodetext(enc, b.first(n)));
        b = b.subspan(next);
    }
    while (!strings.empty() && strings.back().empty())
        strings.pop_back();
    std::string out;
    for (std::size_t i = 0; i < strings.size(); ++i)
        out += (i > 0 ? "/" : "") + strings[i];
    return out;
}

// The decoded content of the frames that hold text.
void decodecontent(Id3v2Frame& frame, View body)
{
    const std::string& id = frame.id;
    bool textframe = id[0] == 'T' && id != "TXXX" && id != "TXX";
    bool urlframe = id[0] == 'W' && id != "WXXX" && id != "WXX";
    if (urlframe) {
        frame.text = latin1toutf8(body.first(stringlength(TextEncoding::Latin1, body, nullptr)));
        return;
    }
    if (body.empty())
        return;
    TextEncoding enc = encodingof(body[0]);
    View rest = body.subspan(1);
    if (textframe) {
        frame.text = decodestrings(enc, rest);
        return;
    }
    bool language = id == "COMM" || id == "USLT" || id == "COM" || id == "ULT";
    bool described = language || id == "TXXX" || id == "TXX" || id == "WXXX" || id == "WXX";
    if (!described)
        return;
    if (language) {
        if (rest.size() < 3)
            return;
        frame.language = latin1toutf8(rest.first(3));
        rest = rest.subspan(3);
    }
    std::size_t next = 0;
    std::size_t n = stringlength(enc, rest, &next);
    frame.contentdescription = decodetext(enc, rest.first(n));
    rest = rest.subspan(next);
    if (id[0] == 'W')  // the link itself is always ISO-8859-1
        frame.text = latin1toutf8(rest.first(stringlength(TextEncoding::Latin1, rest, nullptr)));
    else
        frame.text = decodestrings(enc, rest);
}

}  // namespace

Id3v2Frame decodedframe(const std::string& id, View content)
{
    Id3v2Frame frame;
    frame.id = id;
    if (!id.empty())
        decodecontent(frame, content);
    return frame;
}

std::optional<Id3v2Frames> readid3v2frames(View bytes)
{
    if (bytes.size() < 10 || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3')
        return std::nullopt;
    Id3v2Frames tag;
    tag.version = bytes[3];
    tag.revision = bytes[4];
    if (tag.version < 2 || tag.version > 4)
        return std::nullopt;
    const std::uint8_t flags = bytes[5];
    std::size_t size = syncsafe(&bytes[6]);
    if (size > bytes.size() - 10) {
        tag.problems.push_back("the ID3v2 tag claims " + std::to_string(size) + " bytes, the file holds " +
                               std::to_string(bytes.size() - 10));
        size = bytes.size() - 10;
    }
    View body = bytes.subspan(10, size);
    Bytes whole;
    // In 2.2 and 2.3 the flag covers the whole tag; in 2.4 each frame says.
    if ((flags & 0x80) && tag.version < 4) {
        whole = resynchronised(body);
        body = whole;
    }
    if (tag.version == 2 && (flags & 0x40)) {
        tag.problems.push_back("the ID3v2.2 tag is compressed");
        return tag;
    }
    if (tag.version >= 3 && (flags & 0x40) && body.size() >= 4) {
        std::size_t ext = tag.version == 4 ? syncsafe(body.data()) : plain(body.data(), 4) + 4;
        if (ext > body.size()) {
            tag.problems.push_back("the ID3v2 extended header runs past the tag");
            return tag;
        }
        body = body.subspan(ext);
    }

    const std::size_t idsize = tag.version == 2 ? 3 : 4;
    const std::size_t headersize = tag.version == 2 ? 6 : 10;
    std::size_t pos = 0;
    while (pos + headersize <= body.size()) {
        const std::uint8_t* h = body.data() + pos;
        if (h[0] == 0)
            break;  // padding
        if (!validid(body.subspan(pos, idsize))) {
            tag.problems.push_back("no ID3v2 frame at byte " + std::to_string(pos + 10) + " of the tag");
            break;
        }
        std::size_t framesize = tag.version == 2 ? plain(h + 3, 3) : tag.version == 3 ? plain(h + 4, 4) : syncsafe(h + 4);
        if (framesize > body.size() - pos - headersize) {
            tag.problems.push_back("the ID3v2 frame " + std::string(h, h + idsize) + " runs past the tag's end");
            break;
        }
        Id3v2Frame frame;
        frame.id.assign(h, h + idsize);
        View content = body.subspan(pos + headersize, framesize);
        pos += headersize + framesize;

        std::uint8_t format = tag.version == 2 ? 0 : h[9];
        bool compressed = tag.version == 3 ? (format & 0x80) : (format & 0x08);
        bool encrypted = tag.version == 3 ? (format & 0x40) : (format & 0x04);
        bool grouped = tag.version == 3 ? (format & 0x20) : (format & 0x40);
        if (compressed || encrypted) {
            tag.frames.push_back(frame);  // its content cannot be read here
            continue;
        }
        Bytes own;
        if (tag.version == 4) {
            if (grouped && !content.empty())
                content = content.subspan(1);
            if ((format & 0x01) && content.size() >= 4)  // data length indicator
                content = content.subspan(4);
            if (format & 0x02) {
                own = resynchronised(content);
                content = own;
            }
        } else if (grouped && !content.empty()) {
            content = content.subspan(1);
        }
        decodecontent(frame, content);
        tag.frames.push_back(std::move(frame));
    }
    return tag;
}

}  // namespace qc
