// Writing the tracks of a split: each one a save of its own (cutting/save.h)
// into the chosen folder, so every promise of a save holds for each track:
// it is written under a private name and takes its own only when complete.
//
// In exact output (the default) a track holds exactly its samples of the
// timeline and tells decoders where they begin and end, so the tracks
// decoded one after the other give the whole recording's decode, sample for
// sample. Byte for byte, a track is a run of the source's frames: the
// points move to the nearest frame boundary, and the source's Xing/Info
// frame, which counts the whole file, is in none of them.
//
// Each track gets an ID3v2.4 tag made from the source's: its frames copied,
// the title, track number, performer and length set for the track. An
// ID3v1 tag only where the source has one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cutting/audio_timeline.h"
#include "cutting/save_report.h"
#include "splitting/split_points.h"
#include "stream/error.h"
#include "stream/loaded_file.h"

namespace qc {

struct SplitOptions {
    std::string folder;           // where the tracks go
    bool exact = true;            // exact output, or whole frames byte for byte
    bool force = false;           // replace files of the tracks' names
    std::string album, performer; // the album's title and performer, for every track's tag
};

// A track's file name: "NN - TITLE.mp3", "NN.mp3" without a title (NN at
// least two digits, as many as the count needs); characters a file system
// refuses in a name (/ \ : * ? " < > | and control characters) become "_",
// and a name too long for the file system is shortened.
std::string trackfilename(int number, int count, const std::string& title);

// The tracks as they will be written: points moved to frame boundaries for
// output byte for byte, and each track's path in the folder.
struct PlannedTrack {
    Track track;           // on the timeline, as written
    std::string title;     // the tag's title: the track's own, or "Track N"
    std::string output;    // folder/name
    std::int64_t firstframe = 0, endframe = 0;  // byte for byte: the frames [first, end)
};
std::vector<PlannedTrack> plantracks(const LoadedFile& f, const AudioTimeline& t, const std::vector<Track>& tracks,
                                     const SplitOptions& options);

struct WrittenTrack {
    PlannedTrack plan;
    SaveReport saved;
};

struct SplitOutcome {
    std::vector<WrittenTrack> tracks;  // those written, in order
    std::optional<Error> error;        // the first failure: the tracks after it were not written
    bool cancelled = false;
};

// Called before each track (done of count written) and after the last;
// returning false stops before the next track (the ones written stay).
// temporary hears the name of a track's temporary file while one exists.
struct SplitHooks {
    std::function<bool(std::size_t done, std::size_t count)> progress;
    std::function<void(const std::string& temporary)> staged;
};

// Writes the planned tracks; a file of a track's name that exists stops it
// (Cause::TargetExists) before anything is written, unless options.force.
SplitOutcome writetracks(const LoadedFile& f, const AudioTimeline& t, const std::vector<PlannedTrack>& tracks,
                         const SplitOptions& options, const SplitHooks& hooks = {});

}  // namespace qc
