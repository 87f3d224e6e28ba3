// The cut boxes with exact output on: times are audio time, the samples a
// player plays (the gapless timeline of a LAME-tagged file, the raw one
// otherwise), a typed time is cut to the sample, and the labels say what
// the save removes. The sample tone44-cbr64-tagged.mp3 is lame's: an Info
// frame and 63 audio frames, delay 576 and padding 1440, so it plays
// 63 * 1152 - 2016 = 70,560 samples (1.6 s), the first one 576 + 529 =
// 1,105 samples into the decoded stream.
#include <gtest/gtest.h>

#include "cutting/audio_timeline.h"
#include "cutting/fixed.h"
#include "support/harness.h"

using namespace qctest;

namespace {

constexpr std::int64_t played = 70560;  // samples of the tagged sample
constexpr std::int64_t lead = 1105;

struct ExactCuts : ::testing::Test {
    void SetUp() override
    {
        l.cuts.setexact(true);
        ASSERT_TRUE(l.load(samplepath("tone44-cbr64-tagged.mp3")));
        ASSERT_TRUE(l.cuts.exact());
    }
    void TearDown() override { l.cuts.setexact(false); }
    std::int64_t samples(int side) const
    {
        const qc::SampleCuts c = l.cuts.samplecuts();
        return (side == 0 ? c.start : c.end).value_or(-1);
    }
    Loader l;
};

}  // namespace

TEST(AudioTimeline, FrameCutsOnTheGaplessAndTheRawTimeline)
{
    qc::AudioTimeline t;
    t.frames = 64;
    t.tagframe = true;
    t.lead = lead;
    t.samples = played;
    // the tag frame plays nothing; the first audio frame only what the delay leaves
    EXPECT_EQ(qc::framecutsamples(t, 0, 0), 0);
    EXPECT_EQ(qc::framecutsamples(t, 0, 1), 0);
    EXPECT_EQ(qc::framecutsamples(t, 0, 2), 1152 - lead);
    EXPECT_EQ(qc::framecutsamples(t, 0, 40), 39 * 1152 - lead);
    EXPECT_EQ(qc::framecutsamples(t, 0, 64), played);
    // the last frame holds the padding, the frame before it the rest of the audio
    EXPECT_EQ(qc::framecutsamples(t, 1, 1), played - (62 * 1152 - lead));
    EXPECT_EQ(qc::framecutsamples(t, 1, 500), played);
    // whole frames: the largest frame cut within the samples
    EXPECT_EQ(qc::wholeframes(t, 0, 0), 0);
    EXPECT_EQ(qc::wholeframes(t, 0, 46), 1);
    EXPECT_EQ(qc::wholeframes(t, 0, 47), 2);
    EXPECT_EQ(qc::wholeframes(t, 0, 44100), 40);
    EXPECT_EQ(qc::wholeframes(t, 1, 240), 0);
    EXPECT_EQ(qc::wholeframes(t, 1, 241), 1);
    EXPECT_EQ(qc::wholeframes(t, 1, played), 64);

    qc::AudioTimeline raw;
    raw.frames = 10;
    raw.samples = 11520;
    EXPECT_EQ(qc::framecutsamples(raw, 0, 3), 3456);
    EXPECT_EQ(qc::framecutsamples(raw, 1, 3), 3456);
    EXPECT_EQ(qc::wholeframes(raw, 1, 3455), 2);
    // seconds to the nearest sample, never negative, never past any file
    EXPECT_EQ(qc::secondstosamples(raw, 1), 44100);
    EXPECT_EQ(qc::secondstosamples(raw, 1.0 / 88200), 0);  // half a sample goes to the even one
    EXPECT_EQ(qc::secondstosamples(raw, -3), 0);
    EXPECT_GT(qc::secondstosamples(raw, 1e300), 0);
}

TEST_F(ExactCuts, TheDurationIsWhatAPlayerPlays)
{
    EXPECT_EQ(l.form.infolabel.caption(), "44.1 KHz, 64 kbps, 1.6, joint stereo");
    ASSERT_TRUE(l.cuts.timeline());
    EXPECT_EQ(l.cuts.timeline()->samples, played);
    // exact output off: the frames' duration, the Info frame counted
    l.cuts.setexact(false);
    l.scanner.showinfo();
    EXPECT_EQ(l.form.infolabel.caption(), "44.1 KHz, 64 kbps, 1.672, joint stereo");
}

TEST_F(ExactCuts, ATypedTimeIsCutToTheSample)
{
    l.form.tbox0.usertext("1");
    EXPECT_EQ(samples(0), 44100);
    EXPECT_EQ(l.form.cuttime0.caption(), "1.000 s");
    EXPECT_EQ(l.form.tbox0.text(), "1");
    EXPECT_EQ(l.file.cutframes[0], 40);  // the frames it removes whole
    EXPECT_TRUE(l.form.savebut.enabled());
    EXPECT_NE(l.form.cuttime0.hint().find("44100 samples"), std::string::npos) << l.form.cuttime0.hint();

    l.form.tbox1.usertext("0,25");
    EXPECT_EQ(samples(1), 11025);
    EXPECT_EQ(l.form.cuttime1.caption(), "0.250 s");
    EXPECT_EQ(l.form.tbox1.text(), "0.25");
    // the limit of the boxes is 99.9 s of audio
    l.form.tbox1.usertext("150");
    EXPECT_EQ(samples(1), 4405590);  // 99.9 s
    EXPECT_EQ(l.file.cutframes[1], 64);
    l.form.tbox1.typekey(ui::key_escape);
    EXPECT_EQ(samples(1), 0);
    EXPECT_EQ(l.form.cuttime1.caption(), "0.000 s");
    EXPECT_EQ(l.file.cutframes[1], 0);
}

TEST_F(ExactCuts, StepsMoveByAFramesSamplesOrToTheNextWholeSecond)
{
    l.form.frame1.setenabled(true);
    l.form.tbox0.usertext("1");
    l.form.cmfrup0.click();
    EXPECT_EQ(samples(0), 44100 + 1152);
    EXPECT_EQ(l.form.tbox0.text(), "1.026");
    EXPECT_EQ(l.form.cuttime0.caption(), "1.026 s");
    l.form.cmsecup0.click();  // trunc(1.026 + 1.51) = 2 s
    EXPECT_EQ(samples(0), 88200);
    EXPECT_EQ(l.form.tbox0.text(), "2");
    l.form.cmsecdn0.click();
    EXPECT_EQ(samples(0), 44100);
    l.form.cmfrdn0.click();
    EXPECT_EQ(samples(0), 44100 - 1152);
    // one frame less than a frame's samples reaches 0 and stays there
    l.form.tbox0.usertext("0.01");
    l.form.cmfrdn0.click();
    EXPECT_EQ(samples(0), 0);
    EXPECT_EQ(l.form.tbox0.text(), "0");
    EXPECT_FALSE(l.form.savebut.enabled());
    // at the limit one frame more stays at 99.9 s
    l.form.tbox0.usertext("99.9");
    l.form.cmfrup0.click();
    EXPECT_EQ(samples(0), 4405590);
}

TEST_F(ExactCuts, AProposalInFramesIsTheTimeAtThatFramesBoundary)
{
    l.cuts.applycut(0, 2);
    EXPECT_EQ(samples(0), 47);  // the second frame's samples after the delay
    EXPECT_EQ(l.form.tbox0.text(), "0.001");
    EXPECT_EQ(l.form.cuttime0.caption(), "0.001 s");
    EXPECT_EQ(l.file.cutframes[0], 2);
    EXPECT_DOUBLE_EQ(l.cuts.frameseconds(0, 2), 47.0 / 44100);
    // the Info frame alone removes no audio, but it is a change to save
    l.cuts.applycut(0, 1);
    EXPECT_EQ(samples(0), 0);
    EXPECT_EQ(l.form.cuttime0.caption(), "0.000 s");
    EXPECT_TRUE(l.form.savebut.enabled());
    l.cuts.applycut(1, 1);
    EXPECT_EQ(samples(1), 241);
    EXPECT_EQ(l.form.cuttime1.caption(), "0.005 s");
}

TEST_F(ExactCuts, ReloadKeepsTheSamplesAndTheModeSwitchReadsTheBoxesAgain)
{
    l.cuts.applycut(0, 26);
    const std::int64_t at26 = 25 * 1152 - lead;
    EXPECT_EQ(samples(0), at26);
    ASSERT_TRUE(l.reload());
    EXPECT_EQ(samples(0), at26);
    EXPECT_EQ(l.file.cutframes[0], 26);

    l.form.tbox0.usertext("1");
    l.cuts.setexact(false);
    EXPECT_FALSE(l.cuts.samplecuts().start);
    EXPECT_EQ(l.file.cutframes[0], 38);  // 1 s in whole frames
    EXPECT_EQ(l.form.cuttime0.caption(), "0.993 s");
    l.cuts.setexact(true);
    EXPECT_EQ(samples(0), 44100);
    EXPECT_EQ(l.form.cuttime0.caption(), "1.000 s");

    // a fresh load starts from no cut; a failed one leaves no timeline
    ASSERT_TRUE(l.load(samplepath("tone44-cbr128.mp3")));
    EXPECT_EQ(samples(0), 0);
    EXPECT_EQ(l.form.infolabel.caption(), "44.1 KHz, 128 kbps, 1, joint stereo");
    TempDir dir;
    l.box.answer(ui::idok);
    EXPECT_FALSE(l.load(dir.path("absent.mp3")));
    EXPECT_FALSE(l.cuts.timeline());
    EXPECT_FALSE(l.cuts.samplecuts().start);
}

TEST(ExactCutsRaw, AFileWithoutATagFramePlaysEveryDecodedSample)
{
    TempDir dir;
    Loader l;
    l.cuts.setexact(true);
    ASSERT_TRUE(l.load(dir.write("raw.mp3", frames(100, FrameSpec{}))));
    ASSERT_TRUE(l.cuts.timeline());
    EXPECT_EQ(l.cuts.timeline()->samples, 115200);
    l.form.tbox0.usertext("1");
    EXPECT_EQ(l.cuts.samplecuts().start, 44100);
    EXPECT_EQ(l.file.cutframes[0], 38);
    EXPECT_EQ(l.form.cuttime0.caption(), "1.000 s");
    l.cuts.applycut(1, 10);
    EXPECT_EQ(l.cuts.samplecuts().end, 11520);
    l.cuts.setexact(false);
}
