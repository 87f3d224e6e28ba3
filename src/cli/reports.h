// What each verb found for one file, as plain values that the formatters
// present. They are built from the engine's record and window model once per
// file; the formatters never look at the engine.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/failure.h"
#include "cutting/exact_plan.h"
#include "tags/id3v1_fields.h"
#include "tags/id3v2_frames.h"

namespace qccli {

// The keys every verb has.
struct Common {
    std::string file;                    // as given on the command line
    std::vector<std::string> warnings;   // the window's warning texts, "\r\n" included
    std::optional<Failure> error;
};

// A stretch of the source: offset 0 is the first byte.
struct Extent {
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

struct UnknownStretch {
    std::string where;  // leading, between, after
    Extent extent;
    bool included = false;
};

struct RateCount {
    int index = 0;          // bitrate index, 0 = free format
    std::string key;        // "free" or the kbps
    std::int64_t frames = 0;
    std::string caption;    // the window's line for it ("  32 kbps frames:76")
};

struct InfoFacts {
    std::int64_t size = 0;
    std::int64_t frames = 0;
    std::int64_t firstframe = 0, lastframe = 0;  // offsets
    int samplerate = 0;
    std::string version;      // "MPEG-1", "MPEG-2" or "MPEG-2.5"
    int samplesperframe = 0;
    std::string channelmode;
    std::vector<RateCount> rates;
    double seconds = 0;
    std::string infocaption;  // the window's information line
    std::optional<Extent> id3v2, riff;
    struct Footer {
        std::int64_t offset = 0;
        bool damaged = false;
    };
    std::optional<Footer> id3v1;
    std::vector<UnknownStretch> unknown;
    std::array<std::int32_t, 3> silencestart{}, silenceend{};
    std::optional<std::vector<int>> gains;  // only when asked for
};

struct InfoReport : Common {
    std::optional<InfoFacts> facts;  // none when the load failed
};

// One tag as the window's view button shows it, and as values.
struct TagReport {
    std::string view;  // the view's box text
    bool failed = false;
};

struct TagsReport : Common {
    std::optional<TagReport> id3v2view, id3v1view;
    std::optional<qc::Id3v2Frames> id3v2;
    std::optional<qc::Id3v1Fields> id3v1;
};

// Source data that the output does not contain (the cut frames aside).
struct LeftOut {
    std::string what;  // unknown, id3v2, id3v1, riff, damaged-tail
    Extent extent;
};

struct CutReport : Common {
    std::string output;        // where the output went (or was to go)
    bool saved = false;
    bool unchanged = false;    // nothing to change: nothing written
    bool loaded = false;
    std::int64_t frameskept = 0;
    std::int64_t bytes = 0;
    double seconds = 0;
    std::vector<LeftOut> leftout;
    std::optional<qc::ExactSummary> exact;  // what an exact (not byte-exact) output holds
};

// One track of a split, on the source's audio timeline.
struct SplitTrack {
    std::string output;
    std::string title;
    std::int64_t start = 0, end = 0;  // samples, half-open
    double seconds = 0;
};

struct SplitReport : Common {
    std::string folder;            // where the tracks go
    bool dryrun = false;
    bool written = false;          // the tracks were written (not a dry run, no failure)
    std::vector<SplitTrack> tracks;  // written, or planned
    std::string cue;               // the cue sheet written, if any
};

}  // namespace qccli
