#include "ui/split_strip.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Room around the plot: the caption above, a margin on the left for the
// first time label, the time axis below, and a margin on the right.
constexpr int captionheight = 16;
constexpr int leftmargin = 8;
constexpr int axisheight = 18;
constexpr int rightmargin = 8;

// Time labels need this many pixels between them.
constexpr double tickspacing = 56;

// "1:05", "1:02:05", "0:07.5" for a time in tenths of a second.
std::string ticktext(long tenths, bool showtenths)
{
    const long s = tenths / 10;
    const long h = s / 3600, m = s / 60 % 60, sec = s % 60;
    std::string text;
    if (h > 0) {
        text = std::to_string(h) + ":";
        if (m < 10)
            text += '0';
    }
    text += std::to_string(m);
    text += sec < 10 ? ":0" : ":";
    text += std::to_string(sec);
    if (showtenths) {
        text += '.';
        text += std::to_string(tenths % 10);
    }
    return text;
}

}  // namespace

SplitStrip::SplitStrip(std::string name, Control* parent) : Control(Kind::SplitStrip, std::move(name), parent) {}

void SplitStrip::setplot(std::span<const std::uint8_t> gains, std::int64_t gainstart, int samplesperframe,
                         std::int64_t from, std::int64_t to, std::int32_t samplerate)
{
    samplesperframe_ = std::max(1, samplesperframe);
    from_ = from;
    to_ = std::max(from, to);
    if (samplerate > 0)
        samplerate_ = samplerate;
    // only the frames that lie over the stretch
    const std::int64_t n = static_cast<std::int64_t>(gains.size());
    const std::int64_t first = std::clamp<std::int64_t>((from_ - gainstart) / samplesperframe_ - 1, 0, n);
    const std::int64_t last = std::clamp<std::int64_t>((to_ - gainstart) / samplesperframe_ + 1, first, n);
    gains_.assign(gains.begin() + first, gains.begin() + last);
    gainstart_ = gainstart + first * samplesperframe_;
    changed();
}

void SplitStrip::setpoints(std::vector<std::int64_t> points, int selected)
{
    if (selected < 0 || selected >= static_cast<int>(points.size()))
        selected = -1;
    if (points == points_ && selected == selected_)
        return;
    points_ = std::move(points);
    selected_ = selected;
    if (grabbed_ >= static_cast<int>(points_.size()))
        grabbed_ = -1;
    changed();
}

void SplitStrip::setcursor(std::int64_t sample)
{
    if (sample == cursor_)
        return;
    cursor_ = sample;
    changed();
}

void SplitStrip::setkept(std::int64_t keptfrom, std::int64_t keptto)
{
    if (keptfrom == keptfrom_ && keptto == keptto_)
        return;
    keptfrom_ = keptfrom;
    keptto_ = keptto;
    changed();
}

Rect SplitStrip::plotarea() const
{
    return {leftmargin, captionheight, std::max(1, rect().width - leftmargin - rightmargin),
            std::max(1, rect().height - captionheight - axisheight)};
}

double SplitStrip::samplex(std::int64_t sample) const
{
    const Rect p = plotarea();
    if (to_ <= from_)
        return p.left;
    return p.left + static_cast<double>(sample - from_) * p.width / static_cast<double>(to_ - from_);
}

std::vector<int> SplitStrip::columns() const
{
    const Rect p = plotarea();
    std::vector<int> out(static_cast<std::size_t>(p.width), -1);
    if (to_ <= from_ || gains_.empty())
        return out;
    const double span = static_cast<double>(to_ - from_);
    const std::int64_t n = static_cast<std::int64_t>(gains_.size());
    for (int c = 0; c < p.width; ++c) {
        // the samples under the column, and the frames they lie in
        const double s0 = from_ + span * c / p.width;
        const double s1 = from_ + span * (c + 1) / p.width;
        const std::int64_t k0 = static_cast<std::int64_t>(std::floor((s0 - gainstart_) / samplesperframe_));
        std::int64_t k1 = static_cast<std::int64_t>(std::ceil((s1 - gainstart_) / samplesperframe_)) - 1;
        k1 = std::max(k1, k0);
        int loudest = -1;
        for (std::int64_t k = std::max<std::int64_t>(k0, 0); k <= k1 && k < n; ++k)
            loudest = std::max<int>(loudest, gains_[static_cast<std::size_t>(k)]);
        out[static_cast<std::size_t>(c)] = loudest;
    }
    return out;
}

double SplitStrip::gainy(int gain) const
{
    const Rect p = plotarea();
    return p.top + (255.0 - std::clamp(gain, 0, 255)) * (p.height - 1) / 255.0;
}

double SplitStrip::keptfromx() const
{
    const Rect p = plotarea();
    return std::clamp(samplex(keptfrom_), static_cast<double>(p.left), static_cast<double>(p.left + p.width));
}

double SplitStrip::kepttox() const
{
    const Rect p = plotarea();
    return std::clamp(samplex(keptto_), static_cast<double>(p.left), static_cast<double>(p.left + p.width));
}

std::vector<Tick> SplitStrip::ticks() const
{
    std::vector<Tick> out;
    if (to_ <= from_)
        return out;
    // steps in tenths of a second
    static constexpr long steps[] = {1,    2,    5,     10,    20,    50,    100,   150,    300,
                                     600,  1200, 3000,  6000,  9000,  18000, 36000, 72000, 180000,
                                     360000, 720000};
    const double tenths = static_cast<double>(to_ - from_) * 10 / samplerate_;
    const double pxpertenth = plotarea().width / tenths;
    long step = steps[std::size(steps) - 1];
    for (long s : steps)
        if (s * pxpertenth >= tickspacing) {
            step = s;
            break;
        }
    const double start = static_cast<double>(from_) * 10 / samplerate_;
    const double end = static_cast<double>(to_) * 10 / samplerate_;
    for (long t = static_cast<long>(std::ceil(start / step - 1e-9)) * step; t <= end + 1e-9; t += step) {
        const std::int64_t sample = static_cast<std::int64_t>(std::llround(t * static_cast<double>(samplerate_) / 10));
        out.push_back({samplex(sample), ticktext(t, step < 10)});
    }
    return out;
}

std::int64_t SplitStrip::sampleatx(int x) const
{
    const Rect p = plotarea();
    const double s = from_ + static_cast<double>(x - p.left) * static_cast<double>(to_ - from_) / p.width;
    return std::clamp<std::int64_t>(std::llround(s), from_, to_);
}

int SplitStrip::pointnear(int x) const
{
    int best = -1;
    double nearest = grabdistance + 0.5;
    for (int i = 0; i < static_cast<int>(points_.size()); ++i) {
        if (!shows(points_[static_cast<std::size_t>(i)]))
            continue;
        const double d = std::abs(pointx(i) - x);
        if (d < nearest) {
            nearest = d;
            best = i;
        }
    }
    return best;
}

void SplitStrip::press(int x)
{
    if (!usable() || to_ <= from_)
        return;
    grabbed_ = pointnear(x);
    if (grabbed_ >= 0) {
        if (onselect)
            onselect(grabbed_);
    } else if (onpick) {
        onpick(sampleatx(x));
    }
}

void SplitStrip::drag(int x)
{
    if (!usable() || grabbed_ < 0)
        return;
    const std::int64_t sample = sampleatx(x);
    if (sample != points_[static_cast<std::size_t>(grabbed_)] && onmove)
        onmove(grabbed_, sample);
}

void SplitStrip::release()
{
    if (grabbed_ < 0)
        return;
    grabbed_ = -1;
    if (onrelease)
        onrelease();
}

void SplitStrip::arrowkey(bool right, bool shift)
{
    if (!usable() || selected_ < 0)
        return;
    if (onarrow)
        onarrow(right, shift);
}

void SplitStrip::deletekey()
{
    if (!usable() || selected_ < 0)
        return;
    if (onremove)
        onremove();
}

}  // namespace ui
