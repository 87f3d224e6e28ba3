// The two cut positions (frames dropped at the start and at the end), the
// controls that set them, and the rule that decides whether Save as has
// anything to do. Side 0 is the start of the file, side 1 the end.
//
// With exact output on, the cuts are audio time: samples of the timeline a
// player plays (see cutting/audio_timeline.h), which an exact save removes
// to the sample. A typed time is cut to the sample, the step buttons move
// by a frame's samples or to the next whole second, and a cut given in
// frames (a silence detection's) is the time at that frame's boundary.
// The record's cutframes then hold the frames each cut removes whole. With
// exact output off, the cuts are whole frames and the seconds the boxes
// show are frames times a frame's duration.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cutting/audio_timeline.h"
#include "cutting/exact_plan.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"

namespace qc {

class CutPositions {
public:
    CutPositions(LoadedFile& file, ui::MainForm& form);

    // Attaches the handlers of the cut boxes, step buttons and removal boxes.
    void wire();

    // Sets one side's cut to n >= 0 frames, shows it and re-evaluates Save as.
    void applycut(int side, std::int64_t n);
    // Both cuts 0, both boxes "0", the removal boxes unchecked and enabled.
    void resetcuts();
    void saveavailability(int side);

    // Exact output on or off: the boxes' numbers are read again by the
    // rule of the new mode.
    void setexact(bool on);
    // Exact output is on and the loaded file's timeline is known.
    bool exact() const { return exact_ && timeline_.has_value(); }
    // After every load: the loaded file's timeline (read when exact output
    // is on), or none after a failed load. The cuts keep their samples.
    void loaded(bool ok);
    const std::optional<AudioTimeline>& timeline() const { return timeline_; }
    // The samples each side's cut removes in exact mode; empty sides otherwise.
    SampleCuts samplecuts() const;
    // The time a cut of n frames at the side removes: audio time at that
    // boundary in exact mode, n frames' duration otherwise.
    double frameseconds(int side, std::int64_t n) const;

    // What one side's cut is, to be put back as it was.
    struct Saved {
        std::int64_t frames = 0;
        std::int64_t samples = 0;
        std::string text;
    };
    Saved saved(int side) const;
    void restore(int side, const Saved& s);

    // A stretch of unknown data is present and not to be included.
    bool leftout() const;
    // A removal box is shown and checked.
    bool removalchosen() const;
    bool pendingchange() const;

    // Runs after a cut changed (typed, stepped, applied, reset, or read
    // anew after a load): the Tracks window follows the cuts.
    std::function<void()> onchange;

    // After the source was replaced by a save, the record describes content
    // that is no longer on disk: Save as stays disabled until the next load.
    void setstale(bool on) { stale_ = on; }
    bool stale() const { return stale_; }

    // handlers, by side
    void framemore(int side);
    void frameless(int side);
    void secondmore(int side);
    void secondless(int side);
    void typed(int side);
    void keypress(int side, char& key);
    void entered(int side);
    void removalclick(ui::Control& box);

private:
    void show(int side);
    void showtime(int side);
    void cutseconds(int side, double seconds);
    void setsave(bool on);
    double boxnumber(int side) const;
    // a cut is set on the side (frames or, in exact mode, samples)
    bool cutset(int side) const;
    // exact mode: the side's cut in samples, and the frames it removes whole
    void setsamples(int side, std::int64_t n);
    void stepsamples(int side, std::int64_t delta);
    std::int64_t maxsamples() const;
    // what was last accepted in the box, put back when a key or a paste is refused
    void refuse(int side);

    LoadedFile& f_;
    ui::MainForm& w_;
    bool stale_ = false;
    bool exact_ = false;
    bool showing_ = false;  // show() is writing a box
    std::optional<AudioTimeline> timeline_;
    std::int64_t samples_[2] = {0, 0};
    std::string accepted_[2] = {"0", "0"};
};

}  // namespace qc
