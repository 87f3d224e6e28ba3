#include <gtest/gtest.h>

#include <vector>

#include "silence/methods.h"
#include "support/harness.h"

namespace {

using Gains = std::vector<std::uint8_t>;

// A state whose side buffer holds exactly these gains.
qc::SilenceState sidegains(int side, const Gains& gains)
{
    qc::SilenceState s;
    s.examinecount = static_cast<std::uint16_t>(gains.size());
    std::uint8_t* buf = side == 0 ? s.startgains : s.endgains;
    for (std::size_t k = 0; k < gains.size(); ++k)
        buf[k] = gains[k];
    return s;
}

std::int32_t run(int method, int side, const Gains& gains)
{
    qc::SilenceState s = sidegains(side, gains);
    qc::runmethod(s, side, method);
    return s.detected[side];
}

Gains padded(Gains g, std::size_t n, std::uint8_t fill)
{
    g.resize(n, fill);
    return g;
}

TEST(SilenceMethod1, CountsLeadingBlankFramesIncluding255)
{
    EXPECT_EQ(run(1, 0, {0, 2, 255, 3, 40, 0, 0}), 4);
    EXPECT_EQ(run(1, 1, {0, 2, 255, 3, 40, 0, 0}), 4);
    EXPECT_EQ(run(1, 0, {4, 0, 0}), 0);     // 4 is the quietest audible level
    EXPECT_EQ(run(1, 0, {254, 0, 0}), 0);   // only 255 exactly counts as blank at the top
    EXPECT_EQ(run(1, 0, Gains(1000, 0)), 1000);
    EXPECT_EQ(run(1, 1, Gains(250, 255)), 250);
}

TEST(SilenceMethod2, ReferenceFrameAndRun)
{
    // the run 11, 9, 10 around reference 10 ends at the 12
    EXPECT_EQ(run(2, 1, {10, 11, 9, 10, 12, 50, 60}), 4);
    EXPECT_EQ(run(2, 0, {0, 0, 2, 30, 31, 29, 30, 45, 60}), 7);
    // start side, first frame loud: frame 1 is the reference, not frame 0
    EXPECT_EQ(run(2, 0, {50, 10, 11, 9, 10, 12, 70}), 5);
    // the same on the end side: frame 0 is the reference and 10 breaks at once
    EXPECT_EQ(run(2, 1, {50, 10, 11, 9, 10, 12, 70}), 0);
    // a mismatch right after the reference gives the reference index
    EXPECT_EQ(run(2, 1, {0, 0, 40, 60, 61}), 2);
    EXPECT_EQ(run(2, 1, {0, 40, 60, 61}), 0);  // index 1 becomes 0
    // every frame after the reference matches: nothing is proposed
    EXPECT_EQ(run(2, 0, {0, 0, 0, 30, 31, 29, 30, 31}), 0);
}

TEST(SilenceMethod2, NoToleranceAroundMarkerValues)
{
    // references 0, 1 and 255 (only possible at index 1 on the start side)
    // accept their own value only
    EXPECT_EQ(run(2, 0, {50, 1, 1, 1, 2, 9, 9}), 4);
    EXPECT_EQ(run(2, 0, {50, 0, 0, 1, 9, 9}), 3);
    EXPECT_EQ(run(2, 0, {50, 255, 255, 254, 9, 9}), 3);
    EXPECT_EQ(run(2, 0, {50, 1, 2, 9, 9}), 0);  // result 1 becomes 0
    // a reference of 2 has the one-step tolerance
    EXPECT_EQ(run(2, 0, {50, 2, 3, 1, 2, 9, 9}), 5);
    // 254 matches 253 and 255
    EXPECT_EQ(run(2, 1, {254, 255, 253, 9}), 3);
}

TEST(SilenceMethod2, ShortStretchesTakeTheFirstNonBlankIndex)
{
    // p > N - 2: the result is the first non-blank index
    EXPECT_EQ(run(2, 0, {0, 0, 0}), 3);
    EXPECT_EQ(run(2, 1, {0, 0}), 2);
    EXPECT_EQ(run(2, 0, {0, 0, 9}), 2);
    EXPECT_EQ(run(2, 0, {9, 9}), 0);
    // all blank in a long stretch
    EXPECT_EQ(run(2, 1, Gains(1000, 255)), 1000);
}

TEST(SilenceMethod3, RisePointOnTheEndSide)
{
    // base 10, meanstep 52 / 15 = 3, threshold 16; loud from index 8, the
    // rise began after index 6
    Gains g = {10, 10, 10, 10, 11, 10, 10, 12, 20, 40, 60, 60, 60, 60, 60, 60};
    EXPECT_EQ(run(3, 1, g), 6);
    // on the start side leading 255s are skipped and shift the result
    Gains lead = {255, 255};
    lead.insert(lead.end(), g.begin(), g.end());
    EXPECT_EQ(run(3, 0, lead), 8);
    // the end side skips nothing: base (255 * 2 + 20) / 4 = 132, threshold
    // 200 is never reached four times in a row
    EXPECT_EQ(run(3, 1, lead), 0);
}

TEST(SilenceMethod3, LeadingZerosEnterTheBase)
{
    // Zeros are not skipped: base 0, threshold 8, loud at once from index 4,
    // a strict rise back to index 4 gives 3, which becomes 0. Skipping them
    // would have given 11.
    Gains g = {0, 0, 0, 0, 20, 20, 20, 20, 20, 20, 20, 20, 60, 60, 60, 60};
    EXPECT_EQ(run(3, 0, g), 0);
    Gains lead = {255};
    lead.insert(lead.end(), g.begin(), g.end());
    EXPECT_EQ(run(3, 0, lead), 4);  // s = 1: the strict rise gives s + 3
}

TEST(SilenceMethod3, StrictRiseAndShortStretches)
{
    Gains rise = {10, 10, 10, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    EXPECT_EQ(run(3, 1, rise), 0);  // s + 3 = 3 becomes 0
    Gains lead = {255, 255};
    lead.insert(lead.end(), rise.begin(), rise.end());
    EXPECT_EQ(run(3, 0, lead), 5);  // s + 3 with s = 2

    // everything 255 on the start side: the whole stretch
    EXPECT_EQ(run(3, 0, Gains(8, 255)), 8);
    // the end side does not skip them: threshold 255, loud from index 4 and
    // 255 <= 255 stops the walk back there
    EXPECT_EQ(run(3, 1, Gains(8, 255)), 4);
    // s > N - 4: N - 4
    EXPECT_EQ(run(3, 0, padded(Gains(7, 255), 9, 10)), 5);
    EXPECT_EQ(run(3, 0, padded(Gains(6, 255), 8, 10)), 4);
    EXPECT_EQ(run(3, 0, padded(Gains(4, 255), 6, 10)), 0);  // 2 becomes 0
    // no four loud frames in a row
    EXPECT_EQ(run(3, 1, {10, 10, 10, 10, 90, 10, 90, 10, 90, 90, 90, 10, 10}), 0);
}

TEST(SilenceMethod3, FrameToFrameChangeIsSummedWithoutOverflow)
{
    // 499 steps of 180 exceed 16 bits. With the full sum the threshold caps
    // at 255 and the 250s are never loud; a wrapped sum would find four loud
    // frames from index 499 and walk back to 498.
    Gains g(1000, 250);
    for (std::size_t k = 0; k < 500; ++k)
        g[k] = k % 2 ? 200 : 20;
    EXPECT_EQ(run(3, 1, g), 0);
}

TEST(SilenceMethods, FewExaminedFramesStayWithinTheStretch)
{
    // For every short stretch the result lies in 0..N and does not depend on
    // what lies beyond the N examined entries.
    const std::uint8_t values[] = {0, 2, 4, 10, 11, 50, 254, 255};
    const std::uint8_t tails[2] = {0, 200};
    for (int n = 0; n <= 3; ++n) {
        int combos = 1;
        for (int i = 0; i < n; ++i)
            combos *= 8;
        for (int c = 0; c < combos; ++c) {
            Gains g;
            for (int i = 0, v = c; i < n; ++i, v /= 8)
                g.push_back(values[v % 8]);
            for (int side = 0; side < 2; ++side)
                for (int method = 1; method <= 3; ++method) {
                    std::int32_t results[2];
                    for (int t = 0; t < 2; ++t) {
                        qc::SilenceState s = sidegains(side, padded(g, 8, tails[t]));
                        s.examinecount = static_cast<std::uint16_t>(n);
                        qc::runmethod(s, side, method);
                        results[t] = s.detected[side];
                    }
                    EXPECT_EQ(results[0], results[1]) << "method " << method << " n " << n;
                    EXPECT_GE(results[0], 0);
                    EXPECT_LE(results[0], n) << "method " << method << " side " << side;
                }
        }
    }
    EXPECT_EQ(run(1, 0, {0, 0, 0}), 3);
    EXPECT_EQ(run(3, 1, {0, 0, 0}), 0);
}

TEST(SilenceMethods, ProposalNeverNegative)
{
    EXPECT_EQ(qc::proposal(41, 5), 36);
    EXPECT_EQ(qc::proposal(4, 7), 0);
    EXPECT_EQ(qc::proposal(0, 0), 0);
}

TEST(SilenceBuffers, EndBufferMirrorsTheFile)
{
    qc::LoadedFile& f = qctest::sharedfile();
    f.framecount = 5;
    const std::uint8_t gains[5] = {1, 2, 3, 4, 5};
    for (int k = 0; k < 5; ++k)
        f.framegain[k] = gains[k];
    f.framegain[5] = 99;

    qc::SilenceState s;
    s.examinecount = qc::examinecountfor(f.framecount);
    ASSERT_EQ(s.examinecount, 5);
    qc::fillbuffers(s, f);
    EXPECT_EQ(Gains(s.startgains, s.startgains + 5), Gains({1, 2, 3, 4, 5}));
    EXPECT_EQ(Gains(s.endgains, s.endgains + 5), Gains({5, 4, 3, 2, 1}));

    // a count left over from a longer file is lowered to the frame count
    s.examinecount = 1000;
    qc::fillbuffers(s, f);
    EXPECT_EQ(s.examinecount, 5);

    f.framecount = 2500;
    for (int k = 0; k < 2500; ++k)
        f.framegain[k] = static_cast<std::uint8_t>(k % 251);
    s.examinecount = qc::examinecountfor(f.framecount);
    EXPECT_EQ(s.examinecount, 1000);
    qc::fillbuffers(s, f);
    EXPECT_EQ(s.startgains[999], 999 % 251);
    EXPECT_EQ(s.endgains[0], 2499 % 251);
    EXPECT_EQ(s.endgains[999], 1500 % 251);
    EXPECT_EQ(qc::examinecountfor(999), 999);
    EXPECT_EQ(qc::examinecountfor(0), 0);
}

TEST(SilenceBuffers, AutoProposalExaminesBothEnds)
{
    qc::LoadedFile& f = qctest::sharedfile();
    // 1200 frames: 120 blank at the start, 12 at the end, loud in between
    f.framecount = 1200;
    for (int k = 0; k < 1200; ++k)
        f.framegain[k] = k < 120 || k >= 1188 ? 0 : 150;
    EXPECT_EQ(qc::autodetected(f, 0, 1), 120);
    EXPECT_EQ(qc::autodetected(f, 1, 1), 12);
    EXPECT_EQ(qc::autoproposal(f, 0, 1, 5), 115);
    EXPECT_EQ(qc::autoproposal(f, 1, 1, 20), 0);
    EXPECT_EQ(qc::autoproposal(f, 0, 1, 150), 21);  // treated as 99
    EXPECT_EQ(qc::autoproposal(f, 0, 4, 0), -1);   // no such method: leave the side
    EXPECT_EQ(qc::autoproposal(f, 0, 0, 0), -1);
    f.framecount = 0;
}

}  // namespace
