#include "tags/id3v1_fields.h"

#include <algorithm>

#include "tags/field_text.h"
#include "tags/genres.h"
#include "tags/text_encoding.h"

namespace qc {

namespace {

// The field as the tag view takes it (zeros and blanks around it dropped),
// as UTF-8.
std::string field(std::span<const std::uint8_t> tag, std::size_t at, std::size_t size)
{
    if (at >= tag.size())
        return {};
    std::string text = fieldtext(tag.data() + at, std::min(size, tag.size() - at));
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return latin1toutf8(bytes);
}

}  // namespace

std::optional<Id3v1Fields> readid3v1fields(std::span<const std::uint8_t> tag)
{
    if (tag.size() < 3 || tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G')
        return std::nullopt;
    tag = tag.first(std::min<std::size_t>(tag.size(), 128));
    Id3v1Fields f;
    f.title = field(tag, 3, 30);
    f.artist = field(tag, 33, 30);
    f.album = field(tag, 63, 30);
    f.year = field(tag, 93, 4);
    if (tag.size() > 126 && tag[125] == 0 && tag[126] != 0) {
        f.comment = field(tag, 97, 28);
        f.track = tag[126];
    } else {
        f.comment = field(tag, 97, 30);
    }
    if (tag.size() == 128) {
        f.genre = tag[127];
        f.genrename = qc::genrename(f.genre);
    }
    return f;
}

}  // namespace qc
