// The small labels under the cut labels: the time that each cut really takes
// away once the number typed is rounded to whole frames (1152 samples each).
#include <gtest/gtest.h>

#include "support/harness.h"

using namespace qctest;

namespace {
const FrameSpec f128{};            // 128 kbps, 44.1 kHz: 26.122 ms a frame
const FrameSpec f48k{9, 4};         // 128 kbps, 48 kHz: 24 ms a frame
}  // namespace

TEST(CutTime, TypedNumbersShowTheTimeOfTheNearestWholeFrames)
{
    TempDir dir;
    Loader l;
    ASSERT_TRUE(l.load(dir.write("a.mp3", frames(800, f128))));
    EXPECT_EQ(l.form.cuttime0.caption(), "0 s");
    EXPECT_EQ(l.form.cuttime1.caption(), "0 s");
    struct Case {
        const char* typed;
        const char* shown;  // nearest frames x 1152 / 44100
    };
    const Case cases[] = {
        {"5", "4.989 s"},       // 191.4 frames -> 191
        {"1", "0.993 s"},       // 38.3 -> 38
        {"0.5", "0.496 s"},     // 19.1 -> 19
        {"10", "10.005 s"},     // 382.8 -> 383
        {"0.013", "0 s"},   // 0.498 -> 0
        {"0.014", "0.026 s"},   // 0.536 -> 1
    };
    for (const Case& c : cases) {
        l.form.tbox0.usertext(c.typed);
        EXPECT_EQ(l.form.cuttime0.caption(), c.shown) << c.typed;
        l.form.tbox1.usertext(c.typed);
        EXPECT_EQ(l.form.cuttime1.caption(), c.shown) << c.typed;
    }
    // the box keeps what was typed; only the label tells the rounding
    EXPECT_EQ(l.form.tbox1.text(), "0.014");
    EXPECT_EQ(l.form.cuttime0.caption(), "0.026 s");

    // 48 kHz frames are 24 ms: 5 s is exactly 208.3 -> 208 frames
    ASSERT_TRUE(l.load(dir.write("b.mp3", frames(800, f48k))));
    l.form.tbox0.usertext("5");
    EXPECT_EQ(l.form.cuttime0.caption(), "4.992 s");
}

TEST(CutTime, FollowsTheStepButtonsAndTheSilenceDetectionsCuts)
{
    TempDir dir;
    Loader l;
    ASSERT_TRUE(l.load(dir.write("a.mp3", frames(800, f128))));
    l.form.frame1.setenabled(true);
    l.form.cmfrup0.click();
    EXPECT_EQ(l.form.cuttime0.caption(), "0.026 s");
    l.form.cmfrup0.click();
    EXPECT_EQ(l.form.cuttime0.caption(), "0.052 s");
    l.form.cmfrdn0.click();
    EXPECT_EQ(l.form.cuttime0.caption(), "0.026 s");
    l.form.cmsecup1.click();  // about a second: trunc(0 + 1.51) = 1 s, 38 frames
    EXPECT_EQ(l.form.cuttime1.caption(), "0.993 s");
    l.form.cmsecdn1.click();
    EXPECT_EQ(l.form.cuttime1.caption(), "0 s");
    EXPECT_EQ(l.form.cuttime0.caption(), "0.026 s");  // the other side keeps its time

    // a silence detection result is applied as a number of frames
    l.cuts.applycut(0, 100);
    EXPECT_EQ(l.form.cuttime0.caption(), "2.612 s");
    l.cuts.applycut(1, 7);
    EXPECT_EQ(l.form.cuttime1.caption(), "0.183 s");

    // a fresh load resets both
    ASSERT_TRUE(l.load(dir.write("b.mp3", frames(10, f128))));
    EXPECT_EQ(l.form.cuttime0.caption(), "0 s");
    EXPECT_EQ(l.form.cuttime1.caption(), "0 s");
}

TEST(CutTime, AResetBoxSelectsItsZeroSoThatTypingReplacesIt)
{
    TempDir dir;
    Loader l;
    ASSERT_TRUE(l.load(dir.write("a.mp3", frames(800, f128))));
    l.form.frame1.setenabled(true);
    l.form.tbox0.usertext("5");
    l.form.tbox0.setselection(1, 0);  // caret after the 5
    l.form.tbox0.typekey(ui::key_backspace);  // Backspace: empty, not a number
    EXPECT_EQ(l.form.tbox0.text(), "0");
    EXPECT_EQ(l.form.tbox0.caret(), 0);
    EXPECT_EQ(l.form.tbox0.sellength(), 1);
    EXPECT_EQ(l.form.cuttime0.caption(), "0 s");
    l.form.tbox0.typekey('2');
    EXPECT_EQ(l.form.tbox0.text(), "2");  // not "20"
    EXPECT_EQ(l.form.cuttime0.caption(), "2.011 s");  // 76.6 -> 77 frames
}
