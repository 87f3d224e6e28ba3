// The logic of the Tracks window: the split points of the loaded file set by
// finding its gaps, by hand on the strips and the list, or from a cue sheet;
// the tracks between the main window's cuts; a cue sheet of them; and the
// tracks written into a folder, with a progress bar and Cancel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cutting/audio_timeline.h"
#include "shell/cut_positions.h"
#include "shell/track_points.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"
#include "ui/platform.h"
#include "ui/tracks_form.h"

namespace qc {

// Seconds shown on each side of the selected point in the detail strip.
inline constexpr double detailseconds = 5.0;

class TracksWindow {
public:
    TracksWindow(LoadedFile& file, ui::TracksForm& form, CutPositions& cuts, ui::MessageBox& box,
                 ui::EventPump& pump, ui::DialogRunner& dialogs);

    // Once at start-up: wires the window's handlers, and the main window's
    // menu item and button that open it.
    void wire(ui::MainForm& main);

    // The menu item and the button: shows the window for the loaded file.
    void open();
    // After every successful load: the points of the previous file go.
    void fileloaded();
    // The main window's cuts changed: the tracks follow them.
    void cutschanged();

    // Output as the main window's Options > Exact output says.
    bool exact = true;
    // The folder the tracks were last written to, with its trailing "/".
    std::string folder;
    // Runs when the window closes (its position is to be kept).
    std::function<void()> closed;

    TrackPoints points;
    // The place last picked on a strip, where "Add point" splits (-1: none).
    std::int64_t picked = -1;
    bool writing() const { return writing_; }

    ui::FileDialog cuedlg, exportdlg, folderdlg;

private:
    // The loaded file's timeline, nullptr while no file is loaded (or one loads).
    const AudioTimeline* timeline();
    bool ready();
    // The part between the main window's cuts.
    void keptrange(const AudioTimeline& t, std::int64_t& from, std::int64_t& to) const;
    // Everything the window shows, from the points and the file.
    void showall();
    void showdetail(const AudioTimeline& t, bool recentre);
    void showstatus(const std::string& text);
    // A place on the timeline moved to the nearest frame boundary.
    std::int64_t snap(std::int64_t sample);

    void formclose();
    void formkey(char& key);

    void findgaps();
    void addpoint();
    void removepoint();
    void pointselected(int point);
    void pointmoved(int point, std::int64_t sample);
    void placepicked(std::int64_t sample);
    void arrow(bool right, bool shift);
    void trackselected(int track);
    void titleedited(int track, const std::string& title);
    void importcue();
    void exportcue();
    void writetracks();
    void cancel();

    LoadedFile& f_;
    ui::TracksForm& w_;
    CutPositions& cuts_;
    ui::MessageBox& box_;
    ui::EventPump& pump_;
    ui::DialogRunner& dialogs_;
    ui::MainForm* main_ = nullptr;
    std::optional<AudioTimeline> own_;  // read here where the cuts hold none (frame cuts)
    bool ownread_ = false;
    bool overviewset_ = false;  // the overview strip holds the file's gains
    std::int64_t detailcentre_ = -1;
    int detailpoint_ = -1;  // the point the detail strip was centred on
    bool writing_ = false;
    bool cancelled_ = false;
    std::string status_;  // what the status line says besides the tracks' count
};

}  // namespace qc
