// The logic of the silence detection window: running the methods on either
// side, the auto-subtract controls, the auto-use boxes, accepting results as
// cut positions, and the auto-use run at the end of every successful load.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/cut_positions.h"
#include "silence/auto_settings.h"
#include "silence/methods.h"
#include "silence/quiet_parts.h"
#include "stream/loaded_file.h"
#include "ui/auto_form.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qc {

inline constexpr std::int32_t autominframes = 200;
inline constexpr const char* toofewframes =
    " Files with less than 200 frames\r\ncan't be processed automatically!";

// The auto-subtract text as the edit box holds it: blanks and NUL characters
// dropped, then a signed decimal integer and nothing else.
std::optional<int> readsubtract(const std::string& text);

class SilenceWindow {
public:
    SilenceWindow(LoadedFile& file, ui::AutoForm& form, CutPositions& cuts, ui::MessageBox& box,
                  ui::EventPump& pump, AutoSettings& settings);

    // Once at start-up, after the settings were read: places the window,
    // wires its handlers and checks the auto-use boxes from the settings.
    void create();
    // The main window's Auto button opens this window.
    void wire(ui::MainForm& main);

    // Opens the window and does not return before it has closed; applies
    // what was accepted.
    void startautobutClick();
    // Runs at the end of every successful load.
    void autouseonload();

    SilenceState state;
    // Each end's quiet part (silence/quiet_parts.h) in frames, found on the
    // whole file at activation, and what accepting it would cut (less the
    // side's auto-subtract).
    std::int32_t quietdetected[2] = {0, 0};
    std::int32_t quietproposed[2] = {0, 0};
    std::int16_t acceptedstart = -1, acceptedend = -1;
    std::uint8_t autoresult = 0;  // 1 while open from the Auto button, 2 accepted, 0 not
    std::uint8_t acceptflag = 0;

private:
    // the side's auto-use method, 0 for none
    int automethod(int side) const;
    std::uint8_t& autouse(int side);
    std::uint8_t& autosub(int side);

    void formactivate();
    void formclose();
    void formkey(char& key);

    void metodclick(int side, int method);
    void showproposal(int side);
    // The side's gain strip shows the examined gains, the three proposals
    // and the cut as they are now.
    void showstrip(int side);
    void stripcut(int side, std::int32_t n);
    void accept(bool start, bool end);
    // "Accept quiet part" of one side.
    void acceptquiet(int side);
    void showquiet(int side);
    void closewindow();

    void autouseclick(int side, int method);
    void updownclick(int side);
    void editchange(int side);
    void editenter(int side);
    void editkey(int side, char& key);

    LoadedFile& f_;
    ui::AutoForm& w_;
    CutPositions& cuts_;
    ui::MessageBox& box_;
    ui::EventPump& pump_;
    AutoSettings& settings_;
    // set while the program itself unchecks a side's other auto-use boxes
    bool uncheckingothers_ = false;
    // A cut picked on a side's strip is applied at once and becomes the
    // side's proposal; closing without accepting that side puts back the
    // cut the side had when the window opened.
    bool picked_[2] = {false, false};
    std::int32_t pickedcut_[2] = {0, 0};
    bool touched_[2] = {false, false};
    CutPositions::Saved opened_[2];
};

}  // namespace qc
