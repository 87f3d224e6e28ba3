// The quiet-part detector on gain sequences shaped as lame writes them
// (measured on sox recordings encoded by lame 3.100): speech that dips for a
// frame or two between syllables, with room tone at the low end of its
// levels; steady music with digital silence (gain 210, above the music) and
// a hum far below it; a quiet passage shorter than a gap.
#include <gtest/gtest.h>

#include <vector>

#include "silence/quiet_parts.h"

namespace {

using Gains = std::vector<std::uint8_t>;

// lame -V5 on amplitude-modulated pink noise: syllables and the dips between
const Gains syllables = {180, 170, 159, 176, 180, 177, 163, 161, 175, 175, 170, 151,
                         159, 169, 169, 162, 147, 161, 171, 171, 165, 153, 172, 178};

Gains speech(int n)
{
    Gains g;
    for (int k = 0; k < n; ++k)
        g.push_back(syllables[static_cast<std::size_t>(k) % syllables.size()]);
    return g;
}

// room tone at -54 dBFS: 151 and 152 in turn
Gains room(int n)
{
    Gains g;
    for (int k = 0; k < n; ++k)
        g.push_back(k % 3 == 0 ? 152 : 151);
    return g;
}

Gains steady(int n, std::uint8_t level)
{
    Gains g;
    for (int k = 0; k < n; ++k)
        g.push_back(static_cast<std::uint8_t>(level + (k % 7 == 3 ? 1 : 0)));
    return g;
}

Gains operator+(Gains a, const Gains& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A part covers [from, to) of the truth within the level's half window.
::testing::AssertionResult covers(const qc::QuietPart& p, std::int64_t from, std::int64_t to, std::int64_t slack = 10)
{
    if (std::abs(p.first - from) > slack || std::abs(p.last - (to - 1)) > slack)
        return ::testing::AssertionFailure() << "part " << p.first << ".." << p.last << ", truth " << from << ".."
                                             << to - 1;
    if (p.quietest < p.first || p.quietest > p.last)
        return ::testing::AssertionFailure() << "quietest frame " << p.quietest << " outside the part";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(QuietParts, RoomToneBetweenSpeechIsFoundWhereTheMethodsFindNothingBlank)
{
    // the Info frame (gain 0), room tone, speech, room tone, speech, room tone
    const Gains g = Gains{0} + room(60) + speech(300) + room(115) + speech(300) + room(60);
    const qc::QuietLevels levels = qc::quietlevels(g);
    EXPECT_TRUE(levels.levels);
    EXPECT_NEAR(levels.floor, 151, 1);
    EXPECT_GT(levels.typical, 160);
    const std::vector<qc::QuietPart> parts = qc::quietparts(g);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_TRUE(covers(parts[0], 0, 61));
    EXPECT_TRUE(covers(parts[1], 361, 476));
    EXPECT_TRUE(covers(parts[2], 776, 836));
    // the ends: the quiet frames from the first frame on, back from the last
    // (a syllable's dip beside the room tone may join it)
    EXPECT_NEAR(qc::quietedge(g, 0), 61, 2);
    EXPECT_NEAR(qc::quietedge(g, 1), 60, 2);
    // a gap longer than a second scores higher than the shorter quiet ends
    EXPECT_GT(parts[1].score, parts[0].score);
    EXPECT_GT(parts[1].score, parts[2].score);
}

TEST(QuietParts, DigitalSilenceAboveTheMusicAndAHumFarBelowIt)
{
    // steady music at 194, lame's silent granules at 210, a hum at 156, a
    // quiet passage of 23 frames at 182
    const Gains g = steady(150, 194) + Gains(75, 210) + steady(150, 194) + steady(115, 156) + steady(150, 194) +
                    steady(23, 182) + steady(150, 194);
    const std::vector<qc::QuietPart> parts = qc::quietparts(g);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_TRUE(covers(parts[0], 150, 225, 0));  // digital silence, to the frame
    EXPECT_TRUE(covers(parts[1], 375, 490));
    // digital silence is the surest; its quietest frame its middle
    EXPECT_GT(parts[0].score, parts[1].score);
    EXPECT_EQ(parts[0].quietest, 187);
    // the passage is quiet, only too short to be a gap
    qc::QuietOptions shorter;
    shorter.minframes = 20;
    EXPECT_EQ(qc::quietparts(g, shorter).size(), 3u);
    EXPECT_EQ(qc::quietedge(g, 0), 0);
    EXPECT_EQ(qc::quietedge(g, 1), 0);
}

TEST(QuietParts, ARunOfOneValueAtTheMusicsLevelIsNoSilence)
{
    // steady noise holds one value for a while; so does digital silence, apart from its neighbours
    const Gains g = steady(100, 194) + Gains(30, 194) + steady(100, 194) + Gains(30, 188) + steady(100, 194);
    qc::QuietOptions o;
    o.minframes = 20;
    const std::vector<qc::QuietPart> parts = qc::quietparts(g, o);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(covers(parts[0], 230, 260, 0));
}

TEST(QuietParts, ARecordingWithoutAFloorHasNoPartsButItsSilence)
{
    // music that keeps its level: nothing lies below it
    const Gains music = steady(2000, 190);
    EXPECT_FALSE(qc::quietlevels(music).levels);
    EXPECT_TRUE(qc::quietparts(music).empty());
    // nothing but silence: one part, the whole file
    const Gains silence = Gains{0} + Gains(100, 210);
    const std::vector<qc::QuietPart> parts = qc::quietparts(silence);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(covers(parts[0], 0, 101, 0));
    EXPECT_EQ(qc::quietedge(silence, 0), 101);
    // no frames at all
    EXPECT_TRUE(qc::quietparts({}).empty());
    EXPECT_EQ(qc::quietedge({}, 1), 0);
}
