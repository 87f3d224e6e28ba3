// Where a recording is split into tracks: points on its audio timeline (the
// samples a player plays, counted from the first one; see
// cutting/audio_timeline.h), and the tracks between them. A track runs from
// one point up to the next, half-open, so that the tracks together hold
// every sample between the first track's start and the last one's end once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cutting/audio_timeline.h"
#include "stream/loaded_file.h"

namespace qc {

struct Track {
    std::int64_t start = 0, end = 0;  // samples on the audio timeline, half-open
    std::string title, performer;     // empty when not known
    std::int64_t samples() const { return end - start; }
};

// The tracks from `from` to `to`, split at points: the points are sorted, and
// those outside (from, to) or given twice are dropped. No tracks when to <= from.
std::vector<Track> tracksat(std::int64_t from, std::int64_t to, std::vector<std::int64_t> points);

// Points every step samples from `from` on, before `to`; the last track
// takes the rest, however short.
std::vector<std::int64_t> everypoints(std::int64_t from, std::int64_t to, std::int64_t step);

// Where frame boundary b (the start of frame b, b = frames for the end) lies on the timeline.
std::int64_t boundarysample(const AudioTimeline& t, std::int64_t b);
// The frame boundary nearest to a point on the timeline (the earlier one of two as near).
std::int64_t nearestboundary(const AudioTimeline& t, std::int64_t sample);

// A gap between tracks: a quiet part of the recording (frames first..last)
// and the point a split there is made at: the start of the frame in the
// middle of its quietest stretch, so that each track keeps the quiet before
// and after it as a natural tail and lead-in, and a track is never started
// or ended in the loud frames around a gap.
struct Gap {
    std::int64_t first = 0, last = 0;  // frames, inclusive
    std::int64_t point = 0;            // samples on the timeline
    double score = 0;                  // how clearly it is a gap: higher is surer
};

struct GapOptions {
    double mingap = 1.0;  // seconds: the shortest gap
    int tracks = 0;       // when > 0: the tracks wanted, so the tracks - 1 surest gaps
};

// The gaps inside (from, to) on the timeline, found from the frames' gains
// alone (no decoding), in timeline order.
std::vector<Gap> findgaps(const LoadedFile& f, const AudioTimeline& t, std::int64_t from, std::int64_t to,
                          const GapOptions& options);

// The points of the gaps.
std::vector<std::int64_t> gappoints(std::span<const Gap> gaps);

}  // namespace qc
