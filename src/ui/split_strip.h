// A strip of the Tracks window: the frames' gains over a stretch of a
// recording's audio timeline, time running left to right, with the points
// the recording is split at, the selected one marked, and the parts the
// main window's cuts take off shaded. The strip is a plain model: what it
// shows, where each thing is drawn inside its rectangle, and what a press,
// a drag or an arrow key at the strip means; the Qt layer paints what it
// says and hands the user's pointer and keys back to it.
//
// Everything along the strip is a sample of the audio timeline (see
// cutting/audio_timeline.h); the gains are per frame, frame k of them
// covering the samples [gainstart + k * samplesperframe, ... + samplesperframe).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/gain_strip.h"

namespace ui {

class SplitStrip : public Control {
public:
    SplitStrip(std::string name, Control* parent);

    // --- what the strip shows ---
    // The stretch [from, to) of the timeline, and the gains of the frames
    // (all of them or those around the stretch: only the ones over it are kept).
    void setplot(std::span<const std::uint8_t> gains, std::int64_t gainstart, int samplesperframe,
                 std::int64_t from, std::int64_t to, std::int32_t samplerate);
    std::int64_t from() const { return from_; }
    std::int64_t to() const { return to_; }
    std::int32_t samplerate() const { return samplerate_; }
    // The split points in timeline order and the selected one's index (-1: none).
    void setpoints(std::vector<std::int64_t> points, int selected);
    const std::vector<std::int64_t>& points() const { return points_; }
    int selected() const { return selected_; }
    // The place last picked, drawn as a dotted line; -1 for none.
    void setcursor(std::int64_t sample);
    std::int64_t cursor() const { return cursor_; }
    // The part the tracks cover, [keptfrom, keptto): the rest is cut off.
    void setkept(std::int64_t keptfrom, std::int64_t keptto);
    std::int64_t keptfrom() const { return keptfrom_; }
    std::int64_t keptto() const { return keptto_; }

    // --- where it is drawn, in the strip's own coordinates ---
    // The plotting area; the caption sits above it, the time axis below.
    Rect plotarea() const;
    // x of a sample (outside the plot for a sample outside the stretch).
    double samplex(std::int64_t sample) const;
    bool shows(std::int64_t sample) const { return sample >= from_ && sample <= to_; }
    double pointx(int i) const { return samplex(points_[static_cast<std::size_t>(i)]); }
    // The loudest gain of the frames under each pixel column of the plot,
    // left to right; -1 where no frame lies under a column.
    std::vector<int> columns() const;
    // y of a gain value: 0 at the bottom of the plot, 255 at the top.
    double gainy(int gain) const;
    // The shaded cuts: the plot's x from its left edge to the kept part's
    // start, and from the kept part's end to its right edge (empty ranges
    // when a cut is not in view).
    double keptfromx() const;
    double kepttox() const;
    // The colours of a point's line, 0xRRGGBB: the selected one stands out.
    static constexpr std::int32_t pointcolor = 0x1F63B4;
    static constexpr std::int32_t selectedcolor = 0xD42020;
    // Time labels: minutes and seconds, at a round step that leaves room between them.
    std::vector<Tick> ticks() const;

    // --- what the user's pointer and keys mean ---
    // The sample at x, held to the stretch shown.
    std::int64_t sampleatx(int x) const;
    // The point drawn within grabdistance pixels of x, the nearest one; -1 if none.
    static constexpr int grabdistance = 4;
    int pointnear(int x) const;

    // User actions, ignored unless usable(): a press at x grabs the point
    // near it (onselect) or picks the place (onpick); dragging moves the
    // grabbed point (onmove); an arrow key (onarrow) and Delete (onremove)
    // act on the selected point.
    void press(int x);
    void drag(int x);
    void release();
    void arrowkey(bool right, bool shift);
    void deletekey();
    int grabbed() const { return grabbed_; }

    std::function<void(int point)> onselect;
    std::function<void(int point, std::int64_t sample)> onmove;
    std::function<void(std::int64_t sample)> onpick;
    std::function<void(bool right, bool shift)> onarrow;
    std::function<void()> onremove;
    std::function<void()> onrelease;  // the pointer let go of a grabbed point

private:
    std::vector<std::uint8_t> gains_;  // the frames over the stretch
    std::int64_t gainstart_ = 0;       // where gains_[0]'s frame starts
    int samplesperframe_ = 1152;
    std::int64_t from_ = 0, to_ = 0;
    std::int32_t samplerate_ = 44100;
    std::vector<std::int64_t> points_;
    int selected_ = -1;
    std::int64_t keptfrom_ = 0, keptto_ = 0;
    std::int64_t cursor_ = -1;
    int grabbed_ = -1;
};

}  // namespace ui
