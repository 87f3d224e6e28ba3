#include "tags/tag_length.h"

#include "tags/tag_numbers.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace qc {

namespace {

struct Found {
    std::size_t at = 0;       // the frame's header, from the tag's start
    std::size_t header = 0;   // header bytes
    std::size_t size = 0;     // content bytes
    bool plaintext = false;   // no frame flag changes how its content is stored
};

// The TLEN frame of the tag's body [begin, end), in the version's layout.
std::optional<Found> findlength(std::span<const std::uint8_t> t, int version, std::size_t begin, std::size_t end)
{
    const std::size_t idsize = version == 2 ? 3 : 4;
    const std::size_t headersize = version == 2 ? 6 : 10;
    const char* id = version == 2 ? "TLE" : "TLEN";
    std::size_t pos = begin;
    while (pos + headersize <= end) {
        const std::uint8_t* h = t.data() + pos;
        if (h[0] == 0)
            return std::nullopt;  // padding
        const std::size_t size = version == 2 ? plain(h + 3, 3) : version == 3 ? plain(h + 4, 4) : syncsafe(h + 4);
        if (size > end - pos - headersize)
            return std::nullopt;
        if (std::memcmp(h, id, idsize) == 0) {
            // compressed, encrypted, grouped or unsynchronised content, or a
            // data length before it, is not a plain number to write over
            const std::uint8_t format = version == 2 ? 0 : h[9];
            return Found{pos, headersize, size, format == 0};
        }
        pos += headersize + size;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> withlength(std::span<const std::uint8_t> t, std::int64_t ms)
{
    if (t.size() < 10 || std::memcmp(t.data(), "ID3", 3) != 0)
        return std::nullopt;
    const int version = t[3];
    const std::uint8_t flags = t[5];
    if (version < 2 || version > 4 || ms < 0)
        return std::nullopt;
    // Unsynchronisation of the whole tag (2.2, 2.3) changes every byte count.
    if (version < 4 && (flags & 0x80))
        return std::nullopt;
    const std::size_t end = 10 + std::size_t{syncsafe(&t[6])};
    if (end > t.size())
        return std::nullopt;
    std::size_t begin = 10;
    if (version >= 3 && (flags & 0x40)) {
        if (end < 14)
            return std::nullopt;
        begin += version == 4 ? syncsafe(&t[10]) : plain(&t[10], 4) + 4;
        if (begin > end)
            return std::nullopt;
    }
    const std::optional<Found> f = findlength(t, version, begin, end);
    if (!f)
        return std::nullopt;

    std::vector<std::uint8_t> out(t.begin(), t.end());
    const std::string digits = std::to_string(ms);
    const std::size_t content = f->at + f->header;
    if (f->plaintext && f->size >= digits.size() + 1) {
        // encoding byte 0 (ISO-8859-1), then the number to the frame's end,
        // with leading zeros where it is shorter: a numeric string still
        out[content] = 0;
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(content + 1),
                  out.begin() + static_cast<std::ptrdiff_t>(content + f->size), '0');
        std::memcpy(out.data() + content + f->size - digits.size(), digits.data(), digits.size());
        return out;
    }
    // A footer (2.4) allows no padding to take the frame's place.
    if (version == 4 && (flags & 0x10))
        return std::nullopt;
    const std::size_t frame = f->header + f->size;
    std::copy(out.begin() + static_cast<std::ptrdiff_t>(f->at + frame), out.begin() + static_cast<std::ptrdiff_t>(end),
              out.begin() + static_cast<std::ptrdiff_t>(f->at));
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(end - frame), out.begin() + static_cast<std::ptrdiff_t>(end), 0);
    return out;
}

}  // namespace qc
