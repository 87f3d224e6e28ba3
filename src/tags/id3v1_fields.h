// The fields of an ID3v1 tag (with the ID3v1.1 track number) as values.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qc {

struct Id3v1Fields {
    std::string title, artist, album, year, comment;  // UTF-8, from ISO-8859-1
    std::optional<int> track;  // ID3v1.1: a zero byte 28 and a number in byte 29 of the comment
    std::uint8_t genre = 255;
    std::string genrename;     // as the tag view names it
};

// The 128 bytes of the tag, "TAG" first; nullopt when they are not a tag.
// A tag cut short (fewer bytes, as the end of a damaged file leaves it) gives
// the fields as far as they go, and genre 255 with no name unless its byte
// is there.
std::optional<Id3v1Fields> readid3v1fields(std::span<const std::uint8_t> tag);

}  // namespace qc
