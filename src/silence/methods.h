// Automatic silence detection: three methods that look at the mean global
// gain of the frames near each end of the loaded file and propose how many
// frames to cut there. They never read the file, only the gain byte the
// scanner kept per frame, and only the first and last 1000 frames of it.
//
// Side 0 is the start of the file, side 1 the end. The end buffer is the
// start buffer's mirror image (index 0 is the last frame), so one routine
// serves both sides.
#pragma once

#include <cstdint>

#include "stream/loaded_file.h"

namespace qc {

inline constexpr std::uint16_t examinelimit = 1000;

// The one silence detection state of the program.
struct SilenceState {
    std::uint16_t examinecount = 0;             // frames examined at each end
    std::uint8_t startgains[examinelimit] = {};  // startgains[k] = framegain[k]
    std::uint8_t endgains[examinelimit] = {};    // endgains[k] = framegain[framecount - 1 - k]
    std::int32_t detected[2] = {0, 0};          // result of the last method run on each side
    std::int32_t proposed[2] = {0, 0};          // detected less the side's auto-subtract, >= 0

    const std::uint8_t* gains(int side) const { return side == 0 ? startgains : endgains; }
};

// Gains 0..3 and 255 carry no sound worth keeping.
constexpr bool blank(std::uint8_t v)
{
    return v <= 3 || v == 255;
}

// framecount, but at most examinelimit.
std::uint16_t examinecountfor(std::int32_t framecount);

// Copies the first and the last examinecount gains of the file into the two
// buffers; examinecount is set first, and lowered here to framecount if it
// is larger.
void fillbuffers(SilenceState& state, const LoadedFile& file);

// The methods: each returns the frame count it detects on the side, within
// 0 .. examinecount, reading no buffer entry at or beyond examinecount.
std::int32_t method1(const SilenceState& state, int side);  // leading blank frames
std::int32_t method2(const SilenceState& state, int side);  // a run of frames of one amplification
std::int32_t method3(const SilenceState& state, int side);  // where the amplification starts to grow

// Runs method 1, 2 or 3 on the side and stores the result in detected[side];
// any other method number leaves the state alone.
void runmethod(SilenceState& state, int side, int method);

// detected less subtract, never below 0.
constexpr std::int32_t proposal(std::int32_t detected, int subtract)
{
    return detected - subtract < 0 ? 0 : detected - subtract;
}

// What the method finds on the side of the loaded file when examined as the
// auto-use on load examines it (up to 1000 frames at each end); 0 for a
// method other than 1, 2 or 3.
std::int32_t autodetected(const LoadedFile& file, int side, int method);
// The cut the auto-use on load would set on that side: autodetected less
// subtract (clamped to 0..99), never below 0; -1 for a method other than
// 1, 2 or 3 (the side is left alone).
std::int32_t autoproposal(const LoadedFile& file, int side, int method, int subtract);

}  // namespace qc
