#include "stream/frame_header.h"

namespace qc {

std::int32_t framelength(int bitrateindex, int paddingbit, double framesizefactor)
{
    // kbps x 144000 / rate; exact at 48 and 32 kHz, never a rounding doubt at 44.1
    auto len = static_cast<std::int32_t>(kbpstable[bitrateindex & 15] * framesizefactor);
    return paddingbit != 0 ? len + 1 : len;
}

std::int32_t framelength(std::uint8_t versionbits, int bitrateindex, int paddingbit, double framesizefactor)
{
    auto len = static_cast<std::int32_t>(kbps(versionbits, bitrateindex) * framesizefactor);
    return paddingbit != 0 ? len + 1 : len;
}

bool samplerate(std::uint8_t b2, SampleRate& out)
{
    switch (b2 & 0x0C) {
    case 0x00:
        out = {0, 144000.0 / 44100.0, spf44};
        return true;
    case 0x04:
        out = {4, 144000.0 / 48000.0, spf48, version1, 48000};
        return true;
    case 0x08:
        out = {8, 144000.0 / 32000.0, spf32, version1, 32000};
        return true;
    default:
        return false;
    }
}

bool samplerate(std::uint8_t b1, std::uint8_t b2, SampleRate& out)
{
    const std::uint8_t v = versionof(b1);
    if (v == version1)
        return samplerate(b2, out);
    if (v != version2 && v != version25)
        return false;
    if ((b2 & 0x0C) == 0x0C)
        return false;
    const auto bits = static_cast<std::uint8_t>(b2 & 0x0C);
    const int hz = sampleratehz(v, bits);
    out = {bits, 72000.0 / hz, 576.0 / hz, v, hz, 576};
    return true;
}

std::string bitratetext(int index)
{
    static const char* const texts[15] = {"free", "  32", "  40", "  48", "  56",
                                          "  64", "  80", "  96", " 112", " 128",
                                          " 160", " 192", " 224", " 256", " 320"};
    if (index < 0 || index > 14)
        return "    ";
    return texts[index];
}

std::string bitratetext(std::uint8_t versionbits, int index)
{
    if (!lsf(versionbits))
        return bitratetext(index);
    if (index < 0 || index > 14)
        return "    ";
    if (index == 0)
        return "free";
    std::string n = std::to_string(lsfkbpstable[index]);
    return std::string(4 - n.size(), ' ') + n;
}

std::string sampleratetext(std::uint8_t sampleratebits)
{
    switch (sampleratebits) {
    case 0:
        return "44.1 KHz, ";
    case 4:
        return "48 KHz, ";
    case 8:
        return "32 KHz, ";
    default:
        return "? KHz, ";
    }
}

std::string sampleratetext(std::uint8_t versionbits, std::uint8_t sampleratebits)
{
    if (!lsf(versionbits) || sampleratebits > 8 || (sampleratebits & 3) != 0)
        return sampleratetext(sampleratebits);
    static const char* const texts[2][3] = {{"22.05 KHz, ", "24 KHz, ", "16 KHz, "},
                                            {"11.025 KHz, ", "12 KHz, ", "8 KHz, "}};
    return texts[versionbits == version2 ? 0 : 1][sampleratebits >> 2];
}

std::string versiontext(std::uint8_t versionbits)
{
    switch (versionbits) {
    case version1:
        return "MPEG-1";
    case version2:
        return "MPEG-2";
    case version25:
        return "MPEG-2.5";
    default:
        return "MPEG-?";
    }
}

std::string channelmodetext(std::uint8_t channelmode)
{
    switch (channelmode) {
    case mode_stereo:
        return "stereo";
    case mode_joint:
        return "joint stereo";
    case mode_dual:
        return "dual channel";
    default:
        return "mono";
    }
}

}  // namespace qc
