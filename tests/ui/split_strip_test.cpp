// The Tracks window's strip as a model: where samples and points are drawn,
// the loudest gain under each pixel column, the time labels, and what a
// press, a drag and the keys at the strip mean.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ui/split_strip.h"

namespace {

constexpr int spf = 1152;

struct Strip : ::testing::Test {
    ui::Form form{"f"};
    ui::SplitStrip strip{"strip", &form};
    std::vector<int> selected, removed;
    std::vector<std::pair<int, std::int64_t>> moved;
    std::vector<std::int64_t> picked;
    int released = 0;
    std::vector<std::pair<bool, bool>> arrows;

    Strip()
    {
        strip.setrect({0, 0, 416, 100});  // a plot 400 pixels wide
        strip.onselect = [this](int i) { selected.push_back(i); };
        strip.onmove = [this](int i, std::int64_t s) { moved.push_back({i, s}); };
        strip.onpick = [this](std::int64_t s) { picked.push_back(s); };
        strip.onrelease = [this] { ++released; };
        strip.onarrow = [this](bool r, bool s) { arrows.push_back({r, s}); };
        strip.onremove = [this] { removed.push_back(strip.selected()); };
    }
    int x(std::int64_t sample) const { return static_cast<int>(std::lround(strip.samplex(sample))); }
};

TEST_F(Strip, SamplesAndPointsAreDrawnInProportionAcrossThePlot)
{
    // 400 frames from sample 0: a frame a pixel
    strip.setplot(std::vector<std::uint8_t>(400, 50), 0, spf, 0, 400 * spf, 44100);
    const ui::Rect p = strip.plotarea();
    EXPECT_EQ(p.width, 400);
    EXPECT_DOUBLE_EQ(strip.samplex(0), p.left);
    EXPECT_DOUBLE_EQ(strip.samplex(400 * spf), p.left + 400);
    EXPECT_DOUBLE_EQ(strip.samplex(100 * spf), p.left + 100);
    strip.setpoints({100 * spf, 250 * spf + 576}, 1);
    EXPECT_DOUBLE_EQ(strip.pointx(0), p.left + 100);
    EXPECT_DOUBLE_EQ(strip.pointx(1), p.left + 250.5);
    EXPECT_EQ(strip.selected(), 1);
    // a selection that names no point is none
    strip.setpoints({100 * spf}, 3);
    EXPECT_EQ(strip.selected(), -1);

    // a stretch of the middle: the same sample further right, points outside it not shown
    strip.setplot(std::vector<std::uint8_t>(400, 50), 0, spf, 200 * spf, 300 * spf, 44100);
    EXPECT_DOUBLE_EQ(strip.samplex(250 * spf), p.left + 200);
    EXPECT_FALSE(strip.shows(100 * spf));
    EXPECT_EQ(strip.sampleatx(p.left + 200), 250 * spf);
    EXPECT_EQ(strip.sampleatx(-50), 200 * spf);  // held to the stretch
    EXPECT_EQ(strip.sampleatx(p.left + 900), 300 * spf);
}

TEST_F(Strip, EachColumnShowsTheLoudestFrameUnderIt)
{
    // 4000 frames over 400 columns: ten frames a column, one loud frame in column 123
    std::vector<std::uint8_t> gains(4000, 30);
    gains[1234] = 200;
    strip.setplot(gains, 0, spf, 0, 4000 * spf, 44100);
    std::vector<int> c = strip.columns();
    ASSERT_EQ(c.size(), 400u);
    EXPECT_EQ(c[123], 200);
    EXPECT_EQ(c[122], 30);
    EXPECT_EQ(c[124], 30);

    // zoomed in to 40 frames: each frame spans ten columns
    strip.setplot(gains, 0, spf, 1220 * spf, 1260 * spf, 44100);
    c = strip.columns();
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(c[static_cast<std::size_t>(140 + k)], 200) << k;
    EXPECT_EQ(c[139], 30);
    EXPECT_EQ(c[150], 30);

    // frames that start before the timeline (a tag frame and the decoder's
    // lead): the gains are placed where they play, and columns past the
    // last frame show nothing
    strip.setplot(std::vector<std::uint8_t>(10, 90), -spf - 1105, spf, 0, 20 * spf, 44100);
    c = strip.columns();
    EXPECT_EQ(c[0], 90);
    EXPECT_EQ(c[399], -1);
}

TEST_F(Strip, TimeLabelsAreMinutesAndSecondsAtRoundSteps)
{
    // a minute over 400 pixels: a label every 10 seconds
    strip.setplot({}, 0, spf, 0, 60 * 44100, 44100);
    std::vector<ui::Tick> t = strip.ticks();
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[0].text, "0:00");
    EXPECT_EQ(t[1].text, "0:10");
    EXPECT_EQ(t[6].text, "1:00");
    EXPECT_NEAR(t[1].x, strip.plotarea().left + 400.0 / 6, 0.01);
    // two hours: hours shown
    strip.setplot({}, 0, spf, 0, std::int64_t{7200} * 44100, 44100);
    t = strip.ticks();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().text, "2:00:00");
    // ten seconds from 1:25: labels from the first round time in view
    strip.setplot({}, 0, spf, 85 * 44100, 95 * 44100, 44100);
    t = strip.ticks();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t.front().text, "1:26");
    EXPECT_EQ(t[1].text, "1:28");
    // two seconds: tenths where the labels are that close
    strip.setplot({}, 0, spf, 85 * 44100, 87 * 44100, 44100);
    t = strip.ticks();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t.front().text, "1:25.0");
    EXPECT_EQ(t[1].text, "1:25.5");
}

TEST_F(Strip, APressGrabsTheNearestPointOrPicksThePlace)
{
    strip.setplot(std::vector<std::uint8_t>(400, 50), 0, spf, 0, 400 * spf, 44100);
    strip.setpoints({100 * spf, 104 * spf, 300 * spf}, -1);
    const int left = strip.plotarea().left;

    strip.press(left + 103);  // 1 pixel from the second point, 3 from the first
    EXPECT_EQ(selected, std::vector<int>{1});
    EXPECT_EQ(strip.grabbed(), 1);
    strip.drag(left + 110);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].first, 1);
    EXPECT_EQ(moved[0].second, 110 * spf);
    strip.release();
    EXPECT_EQ(released, 1);
    strip.drag(left + 120);  // nothing grabbed: nothing moves
    EXPECT_EQ(moved.size(), 1u);

    // beyond the grab distance: the place is picked
    strip.press(left + 100 + 4 + ui::SplitStrip::grabdistance + 1);
    EXPECT_EQ(selected.size(), 1u);
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0], 109 * spf);
    EXPECT_EQ(strip.grabbed(), -1);
    strip.release();
    EXPECT_EQ(released, 1);  // a pick is no grab

    // the keys act on the selected point only
    strip.arrowkey(true, false);
    strip.deletekey();
    EXPECT_TRUE(arrows.empty());
    EXPECT_TRUE(removed.empty());
    strip.setpoints({100 * spf, 104 * spf, 300 * spf}, 2);
    strip.arrowkey(false, true);
    strip.deletekey();
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0], std::make_pair(false, true));
    EXPECT_EQ(removed, std::vector<int>{2});

    // a disabled strip takes nothing
    strip.setenabled(false);
    strip.press(left + 300);
    strip.arrowkey(true, false);
    EXPECT_EQ(selected.size(), 1u);
    EXPECT_EQ(picked.size(), 1u);
    EXPECT_EQ(arrows.size(), 1u);
}

TEST_F(Strip, TheCutEndsAreShadedFromThePlotsEdges)
{
    strip.setplot(std::vector<std::uint8_t>(400, 50), 0, spf, 0, 400 * spf, 44100);
    strip.setkept(40 * spf, 380 * spf);
    const int left = strip.plotarea().left;
    EXPECT_DOUBLE_EQ(strip.keptfromx(), left + 40);
    EXPECT_DOUBLE_EQ(strip.kepttox(), left + 380);
    // a stretch inside the kept part shades nothing
    strip.setplot(std::vector<std::uint8_t>(400, 50), 0, spf, 100 * spf, 200 * spf, 44100);
    EXPECT_DOUBLE_EQ(strip.keptfromx(), left);
    EXPECT_DOUBLE_EQ(strip.kepttox(), left + 400);
}

}  // namespace
