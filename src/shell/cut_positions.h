// The two cut positions (frames dropped at the start and at the end), the
// controls that set them, and the rule that decides whether Save as has
// anything to do. Side 0 is the start of the file, side 1 the end.
#pragma once

#include <cstdint>

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

    // A stretch of unknown data is present and not to be included.
    bool leftout() const;
    // A removal box is shown and checked.
    bool removalchosen() const;
    bool pendingchange() const;

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

    LoadedFile& f_;
    ui::MainForm& w_;
    bool stale_ = false;
};

}  // namespace qc
