// The points the Tracks window splits a recording at, with the title and
// performer of the track each one begins, the album's, and the selected
// track. The tracks lie between the main window's cuts: a point outside
// them is kept (the cuts may move again) but begins no track, and the
// first track is the one that runs into the kept part, with that track's
// title.
//
// All places are samples of the audio timeline (cutting/audio_timeline.h).
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "splitting/cue_sheet.h"
#include "splitting/split_points.h"

namespace qc {

class TrackPoints {
public:
    TrackPoints();

    // Forgets every point and title (another file).
    void clear();

    // The part of the timeline the tracks cover: after the start cut, up to the end cut.
    void setrange(std::int64_t from, std::int64_t to);
    std::int64_t from() const { return from_; }
    std::int64_t to() const { return to_; }

    // The tracks in order, with their titles; none when the cuts leave nothing.
    std::vector<Track> tracks() const;
    int count() const;
    // The points that begin tracks 2..N: point i begins track i + 1.
    std::vector<std::int64_t> points() const;

    // The selected track (0-based), -1 for none; point selected() - 1 is
    // the one that begins it, none for the first track.
    int selected() const { return selected_; }
    void select(int track);
    int selectedpoint() const { return selected_ >= 1 ? selected_ - 1 : -1; }
    // The track that holds a sample.
    int trackat(std::int64_t sample) const;

    // A point at sample: inside the range, at least spacing samples from the
    // points beside it and the range's ends. The track it splits keeps its
    // title for its first part; the second part is selected. False when the
    // place is refused.
    bool add(std::int64_t sample, std::int64_t spacing);
    // Removes the point that begins the track (1..N-1): the track joins the
    // one before it, which takes its title when it has none.
    bool remove(int track);
    // Moves the point that begins the track (1..N-1) towards sample, as far
    // as the points beside it allow (spacing samples from them); returns
    // where it is.
    std::int64_t move(int track, std::int64_t sample, std::int64_t spacing);

    void settitle(int track, const std::string& title);

    // The points found in the recording (gaps, times): they replace the
    // ones set, and the tracks keep their titles by number.
    void setpoints(std::vector<std::int64_t> points);
    // A cue sheet's tracks, titles and performers. Its first track begins
    // the tracks (audio before its INDEX 01 belongs to it); the others
    // begin where their INDEX 01 says.
    void setcue(const CueSheet& sheet, std::int32_t samplerate);
    // A cue sheet of the tracks: FILE naming file, the album's title and
    // performer, each track's title, performer and start.
    CueSheet cuesheet(const std::string& file, std::int32_t samplerate) const;

    std::string album, performer;

private:
    struct Mark {
        std::int64_t sample;
        std::string title, performer;
    };
    // marks_[0] stands for the start of the recording, before any sample
    static constexpr std::int64_t before = std::numeric_limits<std::int64_t>::min();
    // The mark that begins the first track: the last one at or before from.
    std::size_t firstmark() const;
    std::size_t markof(int track) const { return firstmark() + static_cast<std::size_t>(track); }
    std::int64_t startof(int track) const;
    std::int64_t endof(int track) const;
    void keepselection();

    std::vector<Mark> marks_;
    std::int64_t from_ = 0, to_ = 0;
    int selected_ = -1;
};

}  // namespace qc
