#include <gtest/gtest.h>

#include <vector>

#include "silence/methods.h"
#include "support/harness.h"

namespace {

using Gains = std::vector<std::uint8_t>;

std::int32_t run(int method, int side, const Gains& gains, std::size_t examined = SIZE_MAX)
{
    qc::SilenceState s;
    std::uint8_t* buf = side == 0 ? s.startgains : s.endgains;
    for (std::size_t k = 0; k < gains.size(); ++k)
        buf[k] = gains[k];
    s.examinecount = static_cast<std::uint16_t>(std::min(examined, gains.size()));
    qc::runmethod(s, side, method);
    return s.detected[side];
}

Gains operator+(Gains a, const Gains& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    int method, side;
    Gains gains;
    std::int32_t expected;
    const char* why;
};

TEST(SilenceMethods, BuiltGainSequences)
{
    const Gains risetail = {10, 10, 10, 10, 11, 10, 10, 12, 20, 40, 60, 60, 60, 60, 60, 60};
    const Gains steady = {10, 10, 10, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const Gains zeros = {0, 0, 0, 0, 20, 20, 20, 20, 20, 20, 20, 20, 60, 60, 60, 60};
    const Case cases[] = {
        {1, 0, {0, 2, 255, 3, 40, 0}, 4, "255 is blank, 40 is not"},
        {1, 1, {4, 0}, 0, "4 is audible"},
        {1, 0, {254, 0}, 0, "only 255 exactly is blank at the top"},
        {1, 0, Gains(1000, 0), 1000, "all blank"},

        {2, 1, {10, 11, 9, 10, 12, 50}, 4, "the run 11, 9, 10 ends at the 12"},
        {2, 0, {0, 0, 2, 30, 31, 29, 30, 45, 60}, 7, "reference 30 at index 3"},
        {2, 0, {50, 10, 11, 9, 10, 12, 70}, 5, "start side: frame 1 is the reference"},
        {2, 1, {50, 10, 11, 9, 10, 12, 70}, 0, "end side: frame 0 is, and 10 breaks at once"},
        {2, 1, {0, 0, 40, 60, 61}, 2, "a mismatch right after the reference"},
        {2, 1, {0, 40, 60, 61}, 0, "a result of 1 becomes 0"},
        {2, 0, {0, 0, 0, 30, 31, 29, 30, 31}, 0, "everything matches to the end"},
        {2, 0, {50, 1, 1, 1, 2, 9}, 4, "reference 1 takes no 2"},
        {2, 0, {50, 0, 0, 1, 9, 9}, 3, "reference 0 takes no 1"},
        {2, 0, {50, 255, 255, 254, 9}, 3, "reference 255 takes no 254"},
        {2, 0, {50, 2, 3, 1, 2, 9}, 5, "reference 2 has the tolerance"},
        {2, 1, {254, 255, 253, 9}, 3, "254 takes 253 and 255"},
        {2, 0, {0, 0, 0}, 3, "p > N - 2 gives the first non-blank index"},
        {2, 0, {0, 0, 9}, 2, "p > N - 2 with a loud last frame"},

        {3, 1, risetail, 6, "base 10, meanstep 3, threshold 16, walk back stops at 6"},
        {3, 0, Gains{255, 255} + risetail, 8, "the start side skips leading 255s"},
        {3, 1, Gains{255, 255} + risetail, 0, "the end side does not: threshold 200 never met"},
        {3, 0, zeros, 0, "zeros enter the base; the strict rise gives 3, made 0"},
        {3, 0, Gains{255} + zeros, 4, "s = 1: the strict rise gives s + 3"},
        {3, 1, steady, 0, "strict rise on the end side: 3 becomes 0"},
        {3, 0, Gains{255, 255} + steady, 5, "strict rise: s + 3"},
        {3, 0, Gains(8, 255), 8, "all 255 at the start"},
        {3, 1, Gains(8, 255), 4, "all 255 at the end: threshold 255, 255 <= 255"},
        {3, 0, Gains(7, 255) + Gains{10, 10}, 5, "s > N - 4 gives N - 4"},
        {3, 0, Gains(4, 255) + Gains{10, 10}, 0, "N - 4 = 2 becomes 0"},
        {3, 1, {10, 10, 10, 10, 90, 10, 90, 10, 90, 90, 90, 10, 10}, 0, "never four loud frames"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.method, c.side, c.gains), c.expected) << "method " << c.method << ": " << c.why;

    // 499 steps of 180 exceed 16 bits. Summed in full the threshold caps at
    // 255 and the 250s are never loud; a wrapped sum would give 498.
    Gains wide(1000, 250);
    for (std::size_t k = 0; k < 500; ++k)
        wide[k] = k % 2 ? 200 : 20;
    EXPECT_EQ(run(3, 1, wide), 0);
}

TEST(SilenceMethods, FewExaminedFramesStayWithinTheStretch)
{
    // Every stretch of up to 3 frames over these values: the result lies in
    // 0..N and does not depend on what lies beyond the N examined entries.
    const std::uint8_t values[] = {0, 2, 4, 10, 11, 50, 254, 255};
    for (std::size_t n = 0; n <= 3; ++n) {
        std::size_t combos = 1;
        for (std::size_t i = 0; i < n; ++i)
            combos *= 8;
        for (std::size_t c = 0; c < combos; ++c) {
            Gains g;
            for (std::size_t i = 0, v = c; i < n; ++i, v /= 8)
                g.push_back(values[v % 8]);
            for (int side = 0; side < 2; ++side)
                for (int method = 1; method <= 3; ++method) {
                    std::int32_t quiet = run(method, side, g + Gains(5, 0), n);
                    std::int32_t loud = run(method, side, g + Gains(5, 200), n);
                    EXPECT_EQ(quiet, loud) << "method " << method << " n " << n;
                    EXPECT_GE(quiet, 0);
                    EXPECT_LE(quiet, static_cast<std::int32_t>(n)) << "method " << method;
                }
        }
    }
}

TEST(SilenceMethods, BuffersAndAutoProposalFromTheLoadedFile)
{
    qc::LoadedFile f;
    f.setframecount(6);
    for (int k = 0; k < 6; ++k)
        f.framegain[k] = static_cast<std::uint8_t>(k + 1);
    f.setframecount(5);
    qc::SilenceState s;
    s.examinecount = 1000;  // left from a longer file: lowered to the frame count
    qc::fillbuffers(s, f);
    EXPECT_EQ(s.examinecount, 5);
    EXPECT_EQ(Gains(s.startgains, s.startgains + 5), Gains({1, 2, 3, 4, 5}));
    EXPECT_EQ(Gains(s.endgains, s.endgains + 5), Gains({5, 4, 3, 2, 1}));

    // 1200 frames: 120 blank at the start, 12 at the end; 1000 examined
    f.setframecount(1200);
    for (int k = 0; k < 1200; ++k)
        f.framegain[k] = k < 120 || k >= 1188 ? 0 : 150;
    EXPECT_EQ(qc::autodetected(f, 1, 1), 12);
    EXPECT_EQ(qc::autoproposal(f, 0, 1, 5), 115);
    EXPECT_EQ(qc::autoproposal(f, 1, 1, 20), 0);
    EXPECT_EQ(qc::autoproposal(f, 0, 1, 150), 21);  // treated as 99
    EXPECT_EQ(qc::autoproposal(f, 0, 4, 0), -1);    // no such method: leave the side
}

}  // namespace
