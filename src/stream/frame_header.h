// Layer III frame header rules for MPEG-1, MPEG-2 and MPEG-2.5: sync,
// bitrate tables, frame length, sampling frequency, samples per frame and
// the display texts of the load summary.
//
// MPEG-2 and MPEG-2.5 (the low sampling frequencies, "LSF") differ from
// MPEG-1 in their tables and in holding one granule a frame: 576 samples,
// side information of 9 (mono) or 17 bytes, an 8-bit main_data_begin.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

// Bitrate in kbps by the header's bitrate index (byte 2, bits 7-4), MPEG-1.
// Index 0 is free format, 15 is invalid; both are below 2.
inline constexpr std::int32_t kbpstable[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                               112, 128, 160, 192, 224, 256, 320, 0};
// The same for MPEG-2 and MPEG-2.5 Layer III.
inline constexpr std::int32_t lsfkbpstable[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                                  64, 80, 96, 112, 128, 144, 160, 0};

// MPEG version, header byte 1 AND 0x18.
inline constexpr std::uint8_t version1 = 0x18;
inline constexpr std::uint8_t version2 = 0x10;
inline constexpr std::uint8_t version25 = 0x00;

constexpr std::uint8_t versionof(std::uint8_t b1)
{
    return b1 & 0x18;
}
constexpr bool lsf(std::uint8_t versionbits)
{
    return versionbits != version1;
}
// Bitrate in kbps by the version's table. (Indexing a conditional choice of
// the two arrays is miscompiled by g++ 12 under -fsanitize=undefined.)
constexpr std::int32_t kbps(std::uint8_t versionbits, int bitrateindex)
{
    return lsf(versionbits) ? lsfkbpstable[bitrateindex & 15] : kbpstable[bitrateindex & 15];
}

// Channel modes, byte 3 AND 0xC0.
inline constexpr std::uint8_t mode_stereo = 0x00;
inline constexpr std::uint8_t mode_joint = 0x40;
inline constexpr std::uint8_t mode_dual = 0x80;
inline constexpr std::uint8_t mode_mono = 0xC0;

// Playing time of one MPEG-1 frame of 1152 samples. The 44.1 kHz value is
// the stored literal, a hair below 1152/44100, and is also the start-up value.
inline constexpr double spf44 = 0.0261224489795918;
inline constexpr double spf48 = 0.024;
inline constexpr double spf32 = 0.036;

// True for 0xFF followed by 0xFA or 0xFB: MPEG-1, Layer III, with or without CRC.
constexpr bool framesync(std::uint8_t b0, std::uint8_t b1)
{
    return b0 == 0xFF && (b1 == 0xFA || b1 == 0xFB);
}

// True for a Layer III sync of the given version: 0xFF followed by 0xFA/0xFB
// (MPEG-1), 0xF2/0xF3 (MPEG-2) or 0xE2/0xE3 (MPEG-2.5).
constexpr bool framesync(std::uint8_t b0, std::uint8_t b1, std::uint8_t versionbits)
{
    return b0 == 0xFF && (b1 & 0xFE) == (0xE2 | versionbits);
}

// True for a Layer III sync of any of the three versions.
constexpr bool layer3sync(std::uint8_t b0, std::uint8_t b1)
{
    return b0 == 0xFF && (b1 & 0xE6) == 0xE2 && (b1 & 0x18) != 0x08;
}

// Frame length in bytes for a bitrate index with a table value of 2 or more.
// paddingbit is byte 2 AND 0x02.
std::int32_t framelength(int bitrateindex, int paddingbit, double framesizefactor);
// The same for a version's table (framesizefactor is 144000 / rate for
// MPEG-1, 72000 / rate for the others).
std::int32_t framelength(std::uint8_t versionbits, int bitrateindex, int paddingbit, double framesizefactor);

// The same lengths in whole numbers, from a table: kbps x 144000 / rate
// (72000 for MPEG-2 and 2.5) rounded down (no table value at 44.1, 22.05
// or 11.025 kHz divides evenly, so the product through the double factor is
// never at an integer boundary and both agree), plus the padding byte.
// sampleratebits is byte 2 AND 0x0C (0, 4 or 8).
namespace detail {
struct FrameLengths {
    std::int32_t bytes[3][3][16];  // MPEG-1, MPEG-2, MPEG-2.5
};
constexpr int versionrow(std::uint8_t versionbits)
{
    return versionbits == version1 ? 0 : versionbits == version2 ? 1 : 2;
}
constexpr FrameLengths makeframelengths()
{
    FrameLengths t{};
    constexpr std::int32_t rates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    for (int v = 0; v < 3; ++v)
        for (int r = 0; r < 3; ++r)
            for (int i = 0; i < 16; ++i)
                t.bytes[v][r][i] = v == 0 ? kbpstable[i] * 144000 / rates[v][r]
                                          : lsfkbpstable[i] * 72000 / rates[v][r];
    return t;
}
inline constexpr FrameLengths framelengths = makeframelengths();
}  // namespace detail

// The sampling frequency in Hz by byte 2 AND 0x0C; the reserved value
// counts as 44.1 kHz (22.05, 11.025), as it does for the frame lengths.
constexpr int sampleratehz(std::uint8_t versionbits, std::uint8_t sampleratebits)
{
    constexpr int rates[3] = {44100, 48000, 32000};
    const int r = (sampleratebits >> 2) < 3 ? (sampleratebits >> 2) : 0;
    const int v = detail::versionrow(versionbits);
    return rates[r] >> v;
}
constexpr int sampleratehz(std::uint8_t sampleratebits)
{
    return sampleratehz(version1, sampleratebits);
}

constexpr std::int32_t framebytes(std::uint8_t versionbits, std::uint8_t sampleratebits, int bitrateindex,
                                  int paddingbit)
{
    const int r = (sampleratebits >> 2) < 3 ? (sampleratebits >> 2) : 0;
    return detail::framelengths.bytes[detail::versionrow(versionbits)][r][bitrateindex & 15] +
           (paddingbit != 0 ? 1 : 0);
}
constexpr std::int32_t framebytes(std::uint8_t sampleratebits, int bitrateindex, int paddingbit)
{
    return framebytes(version1, sampleratebits, bitrateindex, paddingbit);
}

// Samples a frame decodes to: 1152 for MPEG-1, 576 for MPEG-2 and 2.5.
constexpr int framesamples(std::uint8_t versionbits)
{
    return lsf(versionbits) ? 576 : 1152;
}

// Side information bytes: MPEG-1 17 (mono) or 32, MPEG-2/2.5 9 or 17.
constexpr int sideinfobytes(std::uint8_t versionbits, bool mono)
{
    return lsf(versionbits) ? (mono ? 9 : 17) : (mono ? 17 : 32);
}

// The stream format a first frame fixes.
struct SampleRate {
    std::uint8_t bits;       // byte 2 AND 0x0C
    double framesizefactor;  // bytes per kbps
    double secondsperframe;
    std::uint8_t versionbits = version1;
    int hz = 44100;
    int samplesperframe = 1152;
};
// MPEG-1 by byte 2 AND 0x0C; false for the reserved value 0x0C.
bool samplerate(std::uint8_t b2, SampleRate& out);
// Any version, by header byte 1 (its version bits) and byte 2; false for a
// reserved sampling frequency or version.
bool samplerate(std::uint8_t b1, std::uint8_t b2, SampleRate& out);

// Four-character bitrate text ("free", "  32", " 128", ...), four blanks otherwise.
std::string bitratetext(int index);
// The same for a version's table ("   8", " 144", ...).
std::string bitratetext(std::uint8_t versionbits, int index);
// "44.1 KHz, ", "48 KHz, ", "32 KHz, " or "? KHz, ".
std::string sampleratetext(std::uint8_t sampleratebits);
// The same for any version: "22.05 KHz, ", "24 KHz, ", "16 KHz, ",
// "11.025 KHz, ", "12 KHz, ", "8 KHz, ".
std::string sampleratetext(std::uint8_t versionbits, std::uint8_t sampleratebits);
// "MPEG-1", "MPEG-2" or "MPEG-2.5".
std::string versiontext(std::uint8_t versionbits);
// "stereo", "joint stereo", "dual channel", "mono".
std::string channelmodetext(std::uint8_t channelmode);

}  // namespace qc
