#include "ui/gain_strip.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Room around the plot: the caption above, the gain scale on the left, the
// time axis below, and a margin on the right for a mark at the far edge.
constexpr int captionheight = 16;
constexpr int scalewidth = 30;
constexpr int axisheight = 18;
constexpr int rightmargin = 8;

// Time labels need this many pixels between them.
constexpr double tickspacing = 44;

// "12", "0.5", "-2.5" for a time in tenths of a second.
std::string tenthstext(long tenths)
{
    std::string text = tenths < 0 ? "-" : "";
    const long a = tenths < 0 ? -tenths : tenths;
    text += std::to_string(a / 10);
    if (a % 10 != 0) {
        // appended piece by piece: GCC 12 at -O3 takes "." + to_string() for an overlapping copy
        text += '.';
        text += std::to_string(a % 10);
    }
    return text;
}

}  // namespace

GainStrip::GainStrip(std::string name, Control* parent, int side)
    : Control(Kind::GainStrip, std::move(name), parent), side_(side)
{
}

void GainStrip::setplot(std::vector<std::uint8_t> gains, const Marks& marks, std::int32_t cut,
                        double secondsperframe)
{
    if (gains_ == gains && marks_ == marks && cut_ == cut && secondsperframe_ == secondsperframe)
        return;
    gains_ = std::move(gains);
    marks_ = marks;
    cut_ = cut;
    if (secondsperframe > 0)
        secondsperframe_ = secondsperframe;
    changed();
}

Rect GainStrip::plotarea() const
{
    return {scalewidth, captionheight, std::max(1, rect().width - scalewidth - rightmargin),
            std::max(1, rect().height - captionheight - axisheight)};
}

int GainStrip::boundaryofcut(std::int32_t cut) const
{
    const int n = framecount();
    const int kept = static_cast<int>(std::clamp<std::int32_t>(cut, 0, n));
    return side_ == 0 ? kept : n - kept;
}

double GainStrip::boundaryx(int boundary) const
{
    const Rect p = plotarea();
    const int n = framecount();
    if (n == 0)
        return p.left;
    return p.left + static_cast<double>(boundary) * p.width / n;
}

double GainStrip::cutfrom() const
{
    return side_ == 0 ? boundaryx(0) : cutx();
}

double GainStrip::cutto() const
{
    return side_ == 0 ? cutx() : boundaryx(framecount());
}

double GainStrip::gainy(int gain) const
{
    const Rect p = plotarea();
    return p.top + (255.0 - std::clamp(gain, 0, 255)) * (p.height - 1) / 255.0;
}

std::vector<Tick> GainStrip::ticks() const
{
    std::vector<Tick> out;
    const int n = framecount();
    if (n == 0)
        return out;
    const double tenths = n * secondsperframe_ * 10;  // the strip's length in tenths of a second
    const double pxpertenth = plotarea().width / tenths;
    long step = 1;
    for (long base = 1;; base *= 10) {
        step = 0;
        for (long s : {base, 2 * base, 5 * base})
            if (s * pxpertenth >= tickspacing) {
                step = s;
                break;
            }
        if (step != 0)
            break;
    }
    for (long t = 0; t <= tenths + 1e-9; t += step) {
        const double frames = t / 10.0 / secondsperframe_;
        if (side_ == 0)
            out.push_back({boundaryx(0) + frames * plotarea().width / n, tenthstext(t)});
        else
            out.insert(out.begin(), Tick{boundaryx(n) - frames * plotarea().width / n, tenthstext(-t)});
    }
    return out;
}

std::int32_t GainStrip::markcolor(int method)
{
    switch (method) {
    case 1: return 0x1F63B4;  // blue
    case 2: return 0xE0640A;  // orange
    case 3: return 0x21913A;  // green
    default: return 0x8E3FA8; // purple: the quiet part
    }
}

const char* GainStrip::marklabel(int method)
{
    static const char* const labels[markcount] = {"1", "2", "3", "q"};
    return method >= 1 && method <= markcount ? labels[method - 1] : "";
}

std::int32_t GainStrip::cutatx(int x) const
{
    const Rect p = plotarea();
    const int n = framecount();
    const long b = std::lround(static_cast<double>(x - p.left) * n / p.width);
    const int boundary = static_cast<int>(std::clamp<long>(b, 0, n));
    return side_ == 0 ? boundary : n - boundary;
}

std::int32_t GainStrip::cutafterkey(bool right, bool shift) const
{
    const int n = framecount();
    const int step = shift ? std::max(1, static_cast<int>(std::lround(1.0 / secondsperframe_))) : 1;
    const int from = boundaryofcut(cut_);
    const int to = std::clamp(from + (right ? step : -step), 0, n);
    if (to == from)
        return cut_;  // at the strip's edge: a cut beyond it stays as it is
    return side_ == 0 ? to : n - to;
}

void GainStrip::offer(std::int32_t cut)
{
    if (!usable() || framecount() == 0 || cut == cut_)
        return;
    if (oncut)
        oncut(cut);
}

void GainStrip::pointer(int x)
{
    offer(cutatx(x));
}

void GainStrip::arrowkey(bool right, bool shift)
{
    offer(cutafterkey(right, shift));
}

}  // namespace ui
