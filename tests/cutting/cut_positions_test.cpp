#include <gtest/gtest.h>

#include "cutting/fixed.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;

TEST(Fixed, RoundsHalfToEvenAndDropsTrailingZeros)
{
    EXPECT_EQ(fixed(2.0114286, 3), "2.011");
    EXPECT_EQ(fixed(0, 3), "0");
    EXPECT_EQ(fixed(3.0, 3), "3");
    EXPECT_EQ(fixed(0.5, 3), "0.5");
    EXPECT_EQ(fixed(99.0040816, 3), "99.004");
    EXPECT_EQ(fixed(5.24, 1), "5.2");
    EXPECT_EQ(fixed(59.97, 1), "60");
    EXPECT_EQ(fixed(0.0261224489795918 * 2, 2), "0.05");
    EXPECT_EQ(fixed(0.025, 2), "0.02");  // 2.5 goes to 2
    EXPECT_EQ(fixed(-1.5, 1), "-1.5");
    EXPECT_EQ(roundeven(2.5), 2);
    EXPECT_EQ(roundeven(3.5), 4);
    EXPECT_EQ(roundeven(-2.5), -2);
}

TEST(Fixed, NumberReadingFollowsTheTypingRule)
{
    EXPECT_EQ(parsenumber("1.5"), 1.5);
    EXPECT_EQ(parsenumber("  -5"), -5.0);
    EXPECT_EQ(parsenumber("+2e1"), 20.0);
    EXPECT_EQ(parsenumber(".5"), 0.5);
    EXPECT_EQ(parsenumber("5."), 5.0);
    for (const char* bad : {"", "-", "+", ".", "1a", "1e", "1,5", "1.5 ", "e5", "--1"})
        EXPECT_FALSE(parsenumber(bad).has_value()) << bad;
}

class CutsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(l.load(dir.write("a.mp3", frames(6000, FrameSpec{}))));
    }
    TempDir dir;
    Loader l;
};

TEST_F(CutsTest, FrameStepsStayWithin0And99Point9Seconds)
{
    l.form.cmfrdn0.click();
    EXPECT_EQ(l.file.cutframes[0], 0);
    EXPECT_EQ(l.form.tbox0.text(), "0");
    l.form.cmfrup0.click();
    EXPECT_EQ(l.file.cutframes[0], 1);
    EXPECT_EQ(l.form.tbox0.text(), "0.026");
    EXPECT_TRUE(l.form.savebut.enabled());
    EXPECT_TRUE(l.form.savemenu.enabled());
    l.cuts.applycut(0, 3823);
    l.form.cmfrup0.click();
    EXPECT_EQ(l.file.cutframes[0], 3824);
    l.form.cmfrup0.click();
    EXPECT_EQ(l.file.cutframes[0], 3824);
    EXPECT_EQ(l.form.tbox0.text(), "99.892");
}

TEST_F(CutsTest, SecondStepsMoveToTheFrameNearestTheNextWholeSecond)
{
    std::vector<int> up;
    for (int i = 0; i < 6; ++i) {
        l.form.cmsecup1.click();
        up.push_back(l.file.cutframes[1]);
    }
    EXPECT_EQ(up, (std::vector<int>{38, 77, 115, 153, 191, 230}));
    EXPECT_EQ(l.form.tbox1.text(), "6.008");
    std::vector<int> down;
    for (int i = 0; i < 6; ++i) {
        l.form.cmsecdn1.click();
        down.push_back(l.file.cutframes[1]);
    }
    EXPECT_EQ(down, (std::vector<int>{191, 153, 115, 77, 38, 0}));
    EXPECT_FALSE(l.form.savebut.enabled());

    l.cuts.applycut(0, 3790);
    EXPECT_EQ(l.form.tbox0.text(), "99.004");
    l.form.cmsecup0.click();
    EXPECT_EQ(l.file.cutframes[0], 3790);
}

TEST_F(CutsTest, TypingSetsTheCutButLeavesTheText)
{
    ui::Control& box = l.form.tbox0;
    box.usertext("1.5");
    EXPECT_EQ(l.file.cutframes[0], 57);
    EXPECT_EQ(box.text(), "1.5");
    box.usertext("150");
    EXPECT_EQ(l.file.cutframes[0], 3824);
    EXPECT_EQ(box.text(), "150");
    l.form.cmsecup0.click();
    EXPECT_EQ(l.file.cutframes[0], 3790);
    // a sign, an exponent or a letter is refused: the box goes back to
    // what it held, and the cut stays
    for (const char* refused : {"-5", "9e9999", "1e-400", "2x", "+1", "1.5.", "1 5"}) {
        box.usertext(refused);
        EXPECT_EQ(l.file.cutframes[0], 3790) << refused;
        EXPECT_EQ(box.text(), "99.004") << refused;
    }
    // a decimal comma is the point
    box.usertext("1,5");
    EXPECT_EQ(l.file.cutframes[0], 57);
    EXPECT_EQ(box.text(), "1.5");
    box.usertext("0");
    // key by key: deleting the last character is not a number
    box.usertext("1");
    box.typekey(ui::key_backspace);
    EXPECT_EQ(box.text(), "0");
    // at most 6 characters
    box.usertext("");
    EXPECT_EQ(box.text(), "0");
    box.setselection(0, 1);
    for (char c : std::string("1.23456"))
        box.typekey(c);
    EXPECT_EQ(box.text(), "1.2345");
    // Escape sets 0 and disables Save as when nothing else is pending
    box.typekey(ui::key_escape);
    EXPECT_EQ(box.text(), "0");
    EXPECT_EQ(l.file.cutframes[0], 0);
    EXPECT_FALSE(l.form.savebut.enabled());
}

// Key by key: a comma is the decimal point, and a key that leaves no time
// is refused without touching the cut (no reset to a "0" that the next key
// would replace).
TEST_F(CutsTest, KeysThatLeaveNoTimeAreRefused)
{
    ui::Control& box = l.form.tbox0;
    l.form.frame1.setenabled(true);
    box.usertext("");  // "0", selected
    for (char c : std::string("1,5"))
        box.typekey(c);
    EXPECT_EQ(box.text(), "1.5");
    EXPECT_EQ(l.file.cutframes[0], 57);
    for (char c : std::string("-+e,.x "))
        box.typekey(c);
    EXPECT_EQ(box.text(), "1.5");
    EXPECT_EQ(l.file.cutframes[0], 57);
    EXPECT_EQ(box.caret(), 3);
    EXPECT_EQ(box.sellength(), 0);
    // a minus typed over the whole text leaves it as it was
    box.setselection(0, 3);
    box.typekey('-');
    EXPECT_EQ(box.text(), "1.5");
    EXPECT_EQ(l.file.cutframes[0], 57);
    // a point typed first stands for "0."
    box.setselection(0, 3);
    box.typekey('.');
    EXPECT_EQ(box.text(), "0.");
    box.typekey('5');
    EXPECT_EQ(box.text(), "0.5");
    EXPECT_EQ(l.file.cutframes[0], 19);
}

TEST_F(CutsTest, EnterMovesTheFocusAndEnteringPutsTheCaretAtTheEnd)
{
    l.form.tbox0.usertext("12.5");
    l.form.tbox0.setselection(0, 2);
    l.form.setfocus(&l.form.tbox0);
    EXPECT_EQ(l.form.tbox0.caret(), 4);
    EXPECT_EQ(l.form.tbox0.sellength(), 0);
    l.form.tbox0.typekey(ui::key_enter);
    EXPECT_EQ(l.form.focus(), &l.form.tbox1);
    EXPECT_EQ(l.form.tbox0.text(), "12.5");
    // no removal box shown, Save as enabled by the cut
    l.form.tbox1.typekey(ui::key_enter);
    EXPECT_EQ(l.form.focus(), &l.form.savebut);
    l.form.tbox0.typekey(ui::key_escape);
    l.form.setfocus(&l.form.tbox1);
    l.form.tbox1.typekey(ui::key_enter);
    EXPECT_EQ(l.form.focus(), &l.form.openbut);
}

TEST(Cuts, RemovalBoxesAndUnknownDataKeepSaveAvailable)
{
    TempDir dir;
    Loader l;
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'd', 'a', 't', 'a', 0, 0, 0, 0};
    ASSERT_TRUE(l.load(dir.write("r.mp3", riff + frames(20, FrameSpec{}))));
    EXPECT_FALSE(l.form.savebut.enabled());
    l.form.riffcheck.click();
    EXPECT_TRUE(l.form.savebut.enabled());
    l.form.cmfrup0.click();
    l.form.cmfrdn0.click();
    EXPECT_TRUE(l.form.savebut.enabled());
    l.form.riffcheck.click();
    EXPECT_FALSE(l.form.savebut.enabled());
    l.form.cmfrup1.click();
    l.form.riffcheck.click();
    l.form.riffcheck.click();
    EXPECT_TRUE(l.form.savebut.enabled());  // the end cut is still pending
    l.cuts.applycut(1, 0);
    EXPECT_EQ(l.form.tbox1.text(), "0");
    EXPECT_FALSE(l.form.savebut.enabled());
    EXPECT_FALSE(l.form.savemenu.enabled());

    // a stale record never enables Save as
    l.cuts.setstale(true);
    l.form.cmfrup0.click();
    EXPECT_FALSE(l.form.savebut.enabled());
    l.form.riffcheck.click();
    EXPECT_FALSE(l.form.savemenu.enabled());
}

TEST(Cuts, OtherSampleRatesChangeTheLimits)
{
    TempDir dir;
    Loader l;
    FrameSpec s48{};
    s48.rate = 4;
    ASSERT_TRUE(l.load(dir.write("48.mp3", frames(5000, s48))));
    l.form.tbox0.usertext("150");
    EXPECT_EQ(l.file.cutframes[0], 4162);
    FrameSpec s32{};
    s32.rate = 8;
    ASSERT_TRUE(l.load(dir.write("32.mp3", frames(3000, s32))));
    l.form.tbox0.usertext("150");
    EXPECT_EQ(l.file.cutframes[0], 2775);
}
