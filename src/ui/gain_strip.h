// A strip of the silence detection window that plots one side's examined
// frames: the gain of each frame (the byte the silence methods read), time
// running left to right, with a mark at each method's proposal and the
// side's current cut shaded. The strip is a plain model: the frames, the
// marks and the cut, where each of them is drawn inside the strip's
// rectangle, and which cut a pointer position or an arrow key stands for.
// The Qt layer paints what it says and hands the user's pointer and keys
// back to it.
//
// Positions along the strip are frame boundaries counted from its left
// edge, 0 .. N for N frames. On the start side the boundary b keeps the
// frames from b on, so it is the cut b; on the end side the strip holds the
// last N frames of the file and the boundary b keeps the frames before it,
// so it is the cut N - b.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// One label of the time axis: where it sits and what it says.
struct Tick {
    double x = 0;
    std::string text;
};

class GainStrip : public Control {
public:
    GainStrip(std::string name, Control* parent, int side);

    int side() const { return side_; }

    // --- what the strip shows ---
    // The examined frames' gains in file order, left to right.
    const std::vector<std::uint8_t>& gains() const { return gains_; }
    int framecount() const { return static_cast<int>(gains_.size()); }
    // The proposals marked: methods 1, 2 and 3, then the quiet part (4).
    static constexpr int markcount = 4;
    using Marks = std::array<std::int32_t, markcount>;
    // Proposal m's (1..4) frames it would cut at this side.
    std::int32_t mark(int method) const { return marks_[static_cast<std::size_t>(method - 1)]; }
    // The side's current cut in frames; it may reach beyond the strip.
    std::int32_t cut() const { return cut_; }
    double secondsperframe() const { return secondsperframe_; }
    void setplot(std::vector<std::uint8_t> gains, const Marks& marks, std::int32_t cut, double secondsperframe);

    // --- where it is drawn, in the strip's own coordinates ---
    // The plotting area; the caption sits above it, the time axis below.
    Rect plotarea() const;
    // The boundary that a cut puts on the strip; a cut beyond the strip
    // puts it at the strip's far edge.
    int boundaryofcut(std::int32_t cut) const;
    double boundaryx(int boundary) const;
    double markx(int method) const { return boundaryx(boundaryofcut(mark(method))); }
    double cutx() const { return boundaryx(boundaryofcut(cut_)); }
    // Left and right edge of the shaded cut.
    double cutfrom() const;
    double cutto() const;
    // y of a gain value: 0 at the bottom of the plot, 255 at the top.
    double gainy(int gain) const;
    // The time axis: seconds from the start of the file on the start side,
    // seconds before its end (0 at the right edge, negative to the left) on
    // the end side, at a round step that leaves room between the labels.
    std::vector<Tick> ticks() const;
    // The colour of proposal m's mark and label, 0xRRGGBB, and its label.
    static std::int32_t markcolor(int method);
    static const char* marklabel(int method);

    // --- what the user's pointer and keys mean ---
    // The cut whose boundary is nearest to x (clamped to the strip).
    std::int32_t cutatx(int x) const;
    // The cut after an arrow key: the boundary moves a frame to the left or
    // the right, with Shift about a second, and stays on the strip.
    std::int32_t cutafterkey(bool right, bool shift) const;

    // User actions: the pointer pressed or dragged at x; an arrow key while
    // the strip has the focus. Each hands a new cut to oncut when it
    // differs from the current one. Ignored unless usable().
    void pointer(int x);
    void arrowkey(bool right, bool shift);

    std::function<void(std::int32_t)> oncut;

private:
    void offer(std::int32_t cut);

    int side_;
    std::vector<std::uint8_t> gains_;
    Marks marks_{};
    std::int32_t cut_ = 0;
    double secondsperframe_ = 1152.0 / 44100.0;
};

}  // namespace ui
