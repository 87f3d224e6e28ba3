#include "stream/frame_gain.h"

#include <cstring>

#include "stream/frame_header.h"

namespace qc {

std::uint8_t gainfromsideinfo(std::uint8_t byte3, const std::uint8_t* si)
{
    if ((byte3 & 0xC0) == mode_mono) {
        // global_gain at side-information bits 39..46 (granule 0) and 98..105 (granule 1)
        int g0 = (si[4] & 0x01) * 128 + (si[5] >> 1);
        int g1 = (si[12] & 0x3F) * 4 + (si[13] >> 6);
        return static_cast<std::uint8_t>((g0 + g1) / 2);
    }
    // bits 41..48, 100..107 (granule 0, channels 0 and 1), 159..166, 218..225 (granule 1)
    int g0 = (si[5] & 0x7F) * 2 + (si[6] >> 7);
    int g1 = (si[12] & 0x0F) * 16 + (si[13] >> 4);
    int g2 = (si[19] & 0x01) * 128 + (si[20] >> 1);
    int g3 = (si[27] & 0x3F) * 4 + (si[28] >> 6);
    return static_cast<std::uint8_t>((g0 + g1 + g2 + g3) / 4);
}

namespace {

// Eight bits from bit `at` on, bit 0 the most significant of si[0].
int byteatbit(const std::uint8_t* si, int at)
{
    const int word = (si[at / 8] << 8) | si[at / 8 + 1];
    return (word >> (8 - at % 8)) & 0xFF;
}

}  // namespace

std::uint8_t gainfromsideinfo(std::uint8_t versionbits, std::uint8_t byte3, const std::uint8_t* si)
{
    if (!lsf(versionbits))
        return gainfromsideinfo(byte3, si);
    // main_data_begin 8 bits, private bits 1 (mono) or 2, then per channel
    // part2_3_length 12 and big_values 9 before global_gain; 63 bits a channel
    if ((byte3 & 0xC0) == mode_mono)
        return static_cast<std::uint8_t>(byteatbit(si, 30));
    return static_cast<std::uint8_t>((byteatbit(si, 31) + byteatbit(si, 94)) / 2);
}

std::uint8_t extractgain(BinaryFile& file, std::uint8_t headerlen, std::uint8_t& channelmode)
{
    return extractgain(file, version1, headerlen, channelmode);
}

std::uint8_t extractgain(BinaryFile& file, std::uint8_t versionbits, std::uint8_t headerlen,
                         std::uint8_t& channelmode)
{
    std::int64_t back = file.position();
    std::uint8_t byte3 = 0;
    file.read(&byte3, 1);
    channelmode = byte3 & 0xC0;
    if (headerlen == 6) {
        std::uint8_t crc[2];
        file.read(crc, 2);  // the CRC word is never checked
    }
    std::uint8_t si[32];
    std::memset(si, 0, sizeof si);
    if (lsf(versionbits))
        file.read(si, channelmode == mode_mono ? 9 : 17);
    else
        file.read(si, channelmode == mode_mono ? 17 : 29);
    file.seek(back);
    return gainfromsideinfo(versionbits, byte3, si);
}

}  // namespace qc
