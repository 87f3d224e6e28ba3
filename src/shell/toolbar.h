// The toolbar's presentation (pictures, text, both, or hidden), the window
// height that follows it, and what the main window paints: a light grey
// background and a five-line shaded border below the toolbar.
#pragma once

#include <array>
#include <cstdint>

#include "shell/settings.h"
#include "ui/main_form.h"
#include "ui/platform.h"

namespace qc {

inline constexpr std::int32_t backgroundcolor = 0xEFEFEF;

// One closed one-pixel outline through (left, top), (right, top),
// (right, bottom), (left, bottom) and back.
struct Outline {
    int left, top, right, bottom;
    std::int32_t color;  // 0xRRGGBB
    bool operator==(const Outline&) const = default;
};

// The shaded border for a button-face colour, client width w, client height h
// and toolbar height t: the outer line nearest to the face colour, the inner
// ones fading into the background.
std::array<Outline, 5> borderoutlines(std::int32_t face, int w, int h, int t);

class Toolbar {
public:
    Toolbar(ui::MainForm& form, Settings& settings, ui::EventPump& pump);

    // The style items and "&Show toolbar".
    void wire();
    // At start-up, from the settings just read.
    void applysettings();

    // picbutmenuClick (1), textbutmenuClick (2), bothbutmenuClick (3)
    void choosestyle(int style);
    // stmenuClick
    void toggle();
    // Lays the toolbar out for toolbarmode; does nothing while minimized.
    void layout();
    // The model's part of the paint handler: re-applies the layout unless a
    // layout is running (the view paints background and border itself).
    void formpaint();

    int toolbarheight() const { return toolbarheight_; }
    bool layoutbusy() const { return layoutbusy_; }
    // The border for the current window and toolbar.
    std::array<Outline, 5> border(std::int32_t face) const;

private:
    void heightstep(int v);
    void picturestep();
    void captionstep(bool twoline);

    ui::MainForm& w_;
    Settings& s_;
    ui::EventPump& pump_;
    std::uint8_t toolbarheight_ = 0;
    bool layoutbusy_ = false;
};

}  // namespace qc
