#include <gtest/gtest.h>

#include "stream/frame_gain.h"
#include "stream/frame_header.h"

using namespace qc;

TEST(FrameHeader, SyncAcceptsOnlyMpeg1Layer3)
{
    EXPECT_TRUE(framesync(0xFF, 0xFB));
    EXPECT_TRUE(framesync(0xFF, 0xFA));
    for (int b1 : {0xF3, 0xE3, 0xFD, 0xFC, 0xFF, 0x00})
        EXPECT_FALSE(framesync(0xFF, static_cast<std::uint8_t>(b1))) << b1;
    EXPECT_FALSE(framesync(0xFE, 0xFB));
}

TEST(FrameHeader, FrameLengthsAtTheThreeRates)
{
    SampleRate r44{}, r48{}, r32{};
    ASSERT_TRUE(samplerate(0x90, r44));
    ASSERT_TRUE(samplerate(0x94, r48));
    ASSERT_TRUE(samplerate(0x98, r32));
    EXPECT_FALSE(samplerate(0x9C, r32));
    EXPECT_EQ(framelength(9, 0, r44.framesizefactor), 417);
    EXPECT_EQ(framelength(9, 2, r44.framesizefactor), 418);
    EXPECT_EQ(framelength(9, 0, r48.framesizefactor), 384);
    EXPECT_EQ(framelength(9, 0, r32.framesizefactor), 576);
    EXPECT_EQ(framelength(14, 0, r44.framesizefactor), 1044);
    EXPECT_EQ(framelength(14, 0, r48.framesizefactor), 960);
    EXPECT_EQ(framelength(14, 0, r32.framesizefactor), 1440);
    EXPECT_EQ(framelength(1, 0, r44.framesizefactor), 104);
    EXPECT_EQ(framelength(1, 0, r48.framesizefactor), 96);
    EXPECT_EQ(framelength(1, 0, r32.framesizefactor), 144);
    EXPECT_DOUBLE_EQ(r44.secondsperframe, 0.0261224489795918);
    EXPECT_DOUBLE_EQ(r48.secondsperframe, 0.024);
    EXPECT_DOUBLE_EQ(r32.secondsperframe, 0.036);
    EXPECT_EQ(r44.bits, 0);
    EXPECT_EQ(r48.bits, 4);
    EXPECT_EQ(r32.bits, 8);
}

TEST(FrameHeader, DisplayTexts)
{
    EXPECT_EQ(bitratetext(0), "free");
    EXPECT_EQ(bitratetext(1), "  32");
    EXPECT_EQ(bitratetext(9), " 128");
    EXPECT_EQ(bitratetext(15), "    ");
    EXPECT_EQ(sampleratetext(0), "44.1 KHz, ");
    EXPECT_EQ(sampleratetext(4), "48 KHz, ");
    EXPECT_EQ(sampleratetext(8), "32 KHz, ");
    EXPECT_EQ(sampleratetext(12), "? KHz, ");
    EXPECT_EQ(channelmodetext(0x00), "stereo");
    EXPECT_EQ(channelmodetext(0x40), "joint stereo");
    EXPECT_EQ(channelmodetext(0x80), "dual channel");
    EXPECT_EQ(channelmodetext(0xC0), "mono");
}

TEST(FrameGain, MonoAndStereoFieldPositions)
{
    std::uint8_t si[32] = {};
    si[4] = 0x01;
    si[5] = 0x80;
    si[12] = 0x3F;
    si[13] = 0xC0;
    // g0 = 128 + 64, g1 = 252 + 3
    EXPECT_EQ(gainfromsideinfo(0xC4, si), 223);

    std::uint8_t st[32] = {};
    // 200 at bits 41..48, 100 at 100..107, 50 at 159..166, 255 at 218..225
    st[5] = 200 >> 1;
    st[6] = (200 & 1) << 7;
    st[12] = 100 >> 4;
    st[13] = (100 & 0x0F) << 4;
    st[19] = 50 >> 7;
    st[20] = (50 & 0x7F) << 1;
    st[27] = 255 >> 2;
    st[28] = (255 & 3) << 6;
    EXPECT_EQ(gainfromsideinfo(0x64, st), (200 + 100 + 50 + 255) / 4);
    // the same bytes read as mono give other fields
    EXPECT_NE(gainfromsideinfo(0xC0, st), gainfromsideinfo(0x40, st));
}

TEST(FrameHeader, WholeNumberLengthsAgreeWithTheFactorForEveryHeader)
{
    for (std::uint8_t b2 : {0x00, 0x04, 0x08}) {
        SampleRate rate{};
        ASSERT_TRUE(samplerate(b2, rate));
        for (int i = 1; i < 15; ++i)
            for (int pad : {0, 2})
                EXPECT_EQ(framebytes(rate.bits, i, pad), framelength(i, pad, rate.framesizefactor))
                    << int(b2) << " " << i << " " << pad;
    }
}
