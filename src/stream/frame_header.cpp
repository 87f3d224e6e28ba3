#include "stream/frame_header.h"

namespace qc {

std::int32_t framelength(int bitrateindex, int paddingbit, double framesizefactor)
{
    // kbps x 144000 / rate; exact at 48 and 32 kHz, never a rounding doubt at 44.1
    auto len = static_cast<std::int32_t>(kbpstable[bitrateindex & 15] * framesizefactor);
    return paddingbit != 0 ? len + 1 : len;
}

bool samplerate(std::uint8_t b2, SampleRate& out)
{
    switch (b2 & 0x0C) {
    case 0x00:
        out = {0, 144000.0 / 44100.0, spf44};
        return true;
    case 0x04:
        out = {4, 144000.0 / 48000.0, spf48};
        return true;
    case 0x08:
        out = {8, 144000.0 / 32000.0, spf32};
        return true;
    default:
        return false;
    }
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
