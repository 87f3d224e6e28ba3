// Quiet parts of a recording, found from the frames' gain values alone:
// stretches that are quiet relative to the recording's own levels, so that
// a recording's room tone, hiss or hum is found as well as digital
// silence, and a quiet passage shorter than a gap is not.
//
// A frame's global gain is the step of its quantizer, not its loudness, and
// encoders set it differently (lame gives a granule of digital silence 210,
// above most music), so no fixed value means "quiet". What the gains do
// tell:
//  - digital silence: blank frames (0..3, 255, the methods' blank) and runs
//    of exactly one value (an encoder writes the same side information for
//    the same empty granules; music moves by a step or two at least);
//  - a noise floor (room tone, hiss, hum) is steady and lies at the low end
//    of the recording's levels, where speech and music only dip for a frame
//    or two between syllables and notes.
// So the level of each frame is the median of its neighbourhood (about half
// a second), the recording's floor and its typical level are percentiles
// of those levels, and a frame is quiet where its level lies near the floor.
// A part is a run of quiet frames of at least minframes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qc {

struct QuietOptions {
    std::int64_t minframes = 38;  // the shortest part: about a second at 44.1 kHz
    int window = 19;              // frames whose median is a frame's level
    int flatrun = 8;              // frames of one value that are digital silence
};

struct QuietPart {
    std::int64_t first = 0, last = 0;  // frames, inclusive
    std::int64_t quietest = 0;         // where to cut inside it: its quietest frame
    // How clearly it is quiet: 0 at the recording's typical level, 1 at its
    // floor, more for digital silence, weighed up for length. Higher is surer.
    double score = 0;
};

// The recording's levels as the detector reads them.
struct QuietLevels {
    double floor = 0;      // the low end of the frames' levels
    double typical = 0;    // the recording's usual level
    double threshold = 0;  // a level at or below this is quiet
    bool levels = false;   // floor and typical lie far enough apart to tell a floor at all
};

QuietLevels quietlevels(std::span<const std::uint8_t> gains, const QuietOptions& options = {});

// The quiet parts of the whole recording (gains[k] is frame k's), in frame order.
std::vector<QuietPart> quietparts(std::span<const std::uint8_t> gains, const QuietOptions& options = {});

// The gaps between the pieces of a recording: stretches of at least
// minframes quieter than the music around them. An encoder's gain follows
// a sound's kind as much as its loudness (a pure tone at -20 dBFS gets a
// smaller step than white noise at -60 dBFS), so no level of the whole
// recording divides music from gaps. What does: a gap lies clearly below
// the levels on both sides of it. So a frame is quiet where its level lies
// at least `dip` steps below the upper level (the 75th percentile) of the
// frames within `context` frames of it, or is digital silence; a quiet part
// inside a piece that is shorter than a gap is not one.
struct GapPartOptions {
    std::int64_t minframes = 38;  // the shortest gap
    int window = 19;              // frames whose median is a frame's level
    int flatrun = 8;              // frames of one value that are digital silence
    int context = 190;            // frames on each side that are the music around a frame (about 5 s)
    int dip = 4;                  // steps below the music's level that are quiet (4 steps: twice the step, 6 dB)
};
std::vector<QuietPart> gapparts(std::span<const std::uint8_t> gains, const GapPartOptions& options = {});

// The frames a quiet start (side 0) or end (side 1) of the recording takes:
// the quiet frames from the file's first frame on (or back from its last),
// however short; 0 when the recording does not begin (end) quiet.
std::int64_t quietedge(std::span<const std::uint8_t> gains, int side, const QuietOptions& options = {});

}  // namespace qc
