// The ID3v1 footer tag as text lines.
#include <algorithm>
#include <cstring>

#include "tags/field_text.h"
#include "tags/genres.h"
#include "tags/tag_read.h"

namespace qc {

namespace {

constexpr std::size_t titlesize = 30;
constexpr std::size_t yearsize = 4;
constexpr std::size_t fieldbytes = 125;  // the tag after "TAG": five fields and the genre

// Reads and checks the read at once.
bool readbytes(BinaryFile& file, std::uint8_t* buf, std::size_t n)
{
    file.read(buf, n);
    return file.ioresult() == 0;
}

void separateline(std::string& text)
{
    if (!text.empty())
        text += "\r\n";
}

// Title, performer, album, year and comment, each only when not empty; then
// the genre line. From n bytes after "TAG": a field cut short by the end of
// the bytes is taken as far as it goes, and the genre line is there only
// when its byte is (always, for a whole tag).
std::string buildtext(const std::uint8_t* bytes, std::size_t n)
{
    struct Field {
        const char* label;
        std::size_t size;
    };
    static constexpr Field fields[] = {{"Title: ", titlesize},
                                       {"Performer: ", titlesize},
                                       {"Album: ", titlesize},
                                       {"Year: ", yearsize},
                                       {"Comment: ", titlesize}};
    std::string text;
    std::size_t at = 0;
    for (const Field& f : fields) {
        if (at >= n)
            return text;
        std::string value = fieldtext(bytes + at, std::min(f.size, n - at));
        at += f.size;
        if (value.empty())
            continue;
        separateline(text);
        text += f.label + value;
    }
    if (at < n) {
        separateline(text);
        text += "Genre: " + genrename(bytes[at]);
    }
    return text;
}

bool readid(BinaryFile& file, std::int64_t pos)
{
    std::uint8_t id[3] = {};
    file.seek(static_cast<std::int64_t>(pos) - 1);
    return readbytes(file, id, sizeof id) && std::memcmp(id, "TAG", 3) == 0;
}

}  // namespace

TagRead readid3v1(BinaryFile& file, std::int64_t footerpos)
{
    TagRead out;
    std::uint8_t buf[fieldbytes];
    out.readfail = !readid(file, footerpos) || !readbytes(file, buf, sizeof buf);
    if (!out.readfail)
        out.text = buildtext(buf, sizeof buf);
    return out;
}

TagRead readdamagedid3v1(BinaryFile& file, std::int64_t pos, std::int64_t length)
{
    TagRead out;
    std::uint8_t buf[fieldbytes];
    const std::size_t n = length > 3 ? std::min<std::size_t>(static_cast<std::size_t>(length) - 3, fieldbytes) : 0;
    out.readfail = length < 3 || !readid(file, pos) || !readbytes(file, buf, n);
    if (!out.readfail)
        out.text = buildtext(buf, n);
    return out;
}

}  // namespace qc
