// The ID3v1 footer tag as text lines.
#include <cstring>

#include "tags/field_text.h"
#include "tags/genres.h"
#include "tags/tag_read.h"

namespace qc {

namespace {

constexpr std::size_t titlesize = 30;
constexpr std::size_t yearsize = 4;

// Reads one field and checks the read at once.
bool readfield(BinaryFile& file, std::uint8_t* buf, std::size_t n)
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
// the genre line, which is always there.
bool buildtext(BinaryFile& file, std::string& text)
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
    text.clear();
    std::uint8_t buf[titlesize];
    for (const Field& f : fields) {
        if (!readfield(file, buf, f.size))
            return false;
        std::string value = fieldtext(buf, f.size);
        if (value.empty())
            continue;
        separateline(text);
        text += f.label + value;
    }
    std::uint8_t genre = 0;
    if (!readfield(file, &genre, 1))
        return false;
    separateline(text);
    text += "Genre: " + genrename(genre);
    return true;
}

}  // namespace

TagRead readid3v1(BinaryFile& file, std::int32_t footerpos)
{
    TagRead out;
    std::uint8_t id[3] = {};
    file.seek(static_cast<std::int64_t>(footerpos) - 1);
    if (!readfield(file, id, sizeof id) || std::memcmp(id, "TAG", 3) != 0) {
        out.readfail = true;
        return out;
    }
    out.readfail = !buildtext(file, out.text);
    return out;
}

}  // namespace qc
