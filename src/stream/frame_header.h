// MPEG-1 Layer III frame header rules: sync, bitrate table, frame length,
// sampling frequency and the display texts of the load summary.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

// Bitrate in kbps by the header's bitrate index (byte 2, bits 7-4).
// Index 0 is free format, 15 is invalid; both are below 2.
inline constexpr std::int32_t kbpstable[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                               112, 128, 160, 192, 224, 256, 320, 0};

// Channel modes, byte 3 AND 0xC0.
inline constexpr std::uint8_t mode_stereo = 0x00;
inline constexpr std::uint8_t mode_joint = 0x40;
inline constexpr std::uint8_t mode_dual = 0x80;
inline constexpr std::uint8_t mode_mono = 0xC0;

// Playing time of one frame of 1152 samples. The 44.1 kHz value is the
// stored literal, a hair below 1152/44100, and is also the start-up value.
inline constexpr double spf44 = 0.0261224489795918;
inline constexpr double spf48 = 0.024;
inline constexpr double spf32 = 0.036;

// True for 0xFF followed by 0xFA or 0xFB: MPEG-1, Layer III, with or without CRC.
constexpr bool framesync(std::uint8_t b0, std::uint8_t b1)
{
    return b0 == 0xFF && (b1 == 0xFA || b1 == 0xFB);
}

// Frame length in bytes for a bitrate index with a table value of 2 or more.
// paddingbit is byte 2 AND 0x02.
std::int32_t framelength(int bitrateindex, int paddingbit, double framesizefactor);

// The same lengths in whole numbers, from a table: kbps x 144000 / rate
// rounded down (no table value at 44.1 kHz divides evenly, so the product
// through the double factor is never at an integer boundary and both agree),
// plus the padding byte. sampleratebits is byte 2 AND 0x0C (0, 4 or 8).
namespace detail {
struct FrameLengths {
    std::int32_t bytes[3][16];
};
constexpr FrameLengths makeframelengths()
{
    FrameLengths t{};
    constexpr std::int32_t rates[3] = {44100, 48000, 32000};
    for (int r = 0; r < 3; ++r)
        for (int i = 0; i < 16; ++i)
            t.bytes[r][i] = kbpstable[i] * 144000 / rates[r];
    return t;
}
inline constexpr FrameLengths framelengths = makeframelengths();
}  // namespace detail

// The sampling frequency in Hz by byte 2 AND 0x0C; the reserved value
// counts as 44.1 kHz, as it does for the frame lengths.
constexpr int sampleratehz(std::uint8_t sampleratebits)
{
    constexpr int rates[3] = {44100, 48000, 32000};
    const int r = (sampleratebits >> 2) < 3 ? (sampleratebits >> 2) : 0;
    return rates[r];
}

constexpr std::int32_t framebytes(std::uint8_t sampleratebits, int bitrateindex, int paddingbit)
{
    const int r = (sampleratebits >> 2) < 3 ? (sampleratebits >> 2) : 0;
    return detail::framelengths.bytes[r][bitrateindex & 15] + (paddingbit != 0 ? 1 : 0);
}

// Sampling frequency by byte 2 AND 0x0C; false for the reserved value 0x0C.
struct SampleRate {
    std::uint8_t bits;
    double framesizefactor;
    double secondsperframe;
};
bool samplerate(std::uint8_t b2, SampleRate& out);

// Four-character bitrate text ("free", "  32", " 128", ...), four blanks otherwise.
std::string bitratetext(int index);
// "44.1 KHz, ", "48 KHz, ", "32 KHz, " or "? KHz, ".
std::string sampleratetext(std::uint8_t sampleratebits);
// "stereo", "joint stereo", "dual channel", "mono".
std::string channelmodetext(std::uint8_t channelmode);

}  // namespace qc
