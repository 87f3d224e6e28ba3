// The audio a player plays from the loaded file, counted in samples: the
// gapless timeline of a source with a LAME tag (frames * 1152 - delay -
// padding samples, the first one 529 + delay samples into the decoded
// stream), the raw timeline of every decoded sample otherwise. An exact
// save removes whole samples from it; these are the numbers the window
// shows and the command line reads in exact mode, and the ones the exact
// plan turns a frame cut into.
#pragma once

#include <cstdint>
#include <optional>

#include "stream/loaded_file.h"

namespace qc {

struct SourceTimeline;

struct AudioTimeline {
    std::int32_t samplerate = 44100;
    int samplesperframe = 1152;  // 576 for MPEG-2 and 2.5
    std::int64_t frames = 0;    // the loaded file's frames, a tag frame included
    bool tagframe = false;      // frame 0 is a Xing, Info or VBRI frame and plays nothing
    std::int64_t lead = 0;      // decoded samples before the first one played
    std::int64_t samples = 0;   // the samples played: the decoded length

    double seconds(std::int64_t n) const { return samplerate > 0 ? static_cast<double>(n) / samplerate : 0; }
    double duration() const { return seconds(samples); }
};

// The timeline of a source from what its first frame says.
AudioTimeline audiotimeline(const SourceTimeline& source, std::int32_t samplerate, int samplesperframe);

// The timeline of the loaded file, its first frame read again from the
// source by name; nullopt when that fails or no frame was loaded.
std::optional<AudioTimeline> readaudiotimeline(const LoadedFile& f);

// The samples a cut of n frames at the side (0 start, 1 end) removes from
// the timeline: the frame boundary's place on it, within 0..samples. A tag
// frame removes nothing; the first audio frames removed at the start of a
// gapless source only take what the encoder's delay did not hide.
std::int64_t framecutsamples(const AudioTimeline& t, int side, std::int64_t n);

// The frames a cut of n samples at the side removes whole: the largest
// frame cut that removes no more than n samples (0 for no samples).
std::int64_t wholeframes(const AudioTimeline& t, int side, std::int64_t n);

// Seconds as samples, to the nearest sample (a half to the even one), at
// least 0 and held far below any overflow.
std::int64_t secondstosamples(const AudioTimeline& t, double seconds);

}  // namespace qc
