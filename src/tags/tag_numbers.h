// The two ways an ID3v2 tag writes a number: synchsafe (7 bits a byte, the
// tag's size and an ID3v2.4 frame's) and plain big-endian (an ID3v2.3
// frame's size).
#pragma once

#include <cstdint>

namespace qc {

inline std::uint32_t syncsafe(const std::uint8_t* b)
{
    return std::uint32_t{b[0] & 0x7Fu} << 21 | std::uint32_t{b[1] & 0x7Fu} << 14 |
           std::uint32_t{b[2] & 0x7Fu} << 7 | (b[3] & 0x7Fu);
}

inline std::uint32_t plain(const std::uint8_t* b, int n)
{
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | b[i];
    return v;
}

}  // namespace qc
