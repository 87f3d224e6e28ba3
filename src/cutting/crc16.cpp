#include "cutting/crc16.h"

#include <array>

namespace qc {

namespace {

using Tables = std::array<std::array<std::uint16_t, 256>, 8>;

constexpr Tables maketables()
{
    Tables t{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i);
        for (int k = 0; k < 8; ++k)
            c = static_cast<std::uint16_t>((c & 1) ? (c >> 1) ^ 0xA001 : c >> 1);
        t[0][i] = c;
    }
    // t[k][i]: the CRC of byte i followed by k zero bytes
    for (unsigned i = 0; i < 256; ++i)
        for (int k = 1; k < 8; ++k)
            t[k][i] = static_cast<std::uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    return t;
}

constexpr Tables tables = maketables();

}  // namespace

std::uint16_t crc16arc(std::uint16_t crc, const std::uint8_t* data, std::size_t n)
{
    while (n >= 8) {
        // the running CRC folds into the first two bytes of the block
        std::uint8_t b0 = static_cast<std::uint8_t>(data[0] ^ (crc & 0xFF));
        std::uint8_t b1 = static_cast<std::uint8_t>(data[1] ^ (crc >> 8));
        crc = static_cast<std::uint16_t>(tables[7][b0] ^ tables[6][b1] ^ tables[5][data[2]] ^
                                         tables[4][data[3]] ^ tables[3][data[4]] ^ tables[2][data[5]] ^
                                         tables[1][data[6]] ^ tables[0][data[7]]);
        data += 8;
        n -= 8;
    }
    while (n-- > 0)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ tables[0][(crc ^ *data++) & 0xFF]);
    return crc;
}

}  // namespace qc
