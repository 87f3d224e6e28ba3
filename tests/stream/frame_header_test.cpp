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

TEST(FrameHeader, Layer3SyncOfEachVersion)
{
    for (int b1 : {0xFA, 0xFB, 0xF2, 0xF3, 0xE2, 0xE3})
        EXPECT_TRUE(layer3sync(0xFF, static_cast<std::uint8_t>(b1))) << b1;
    // Layer II and I, the reserved version 01, and no sync at all
    for (int b1 : {0xFD, 0xFC, 0xF5, 0xF7, 0xE5, 0xEA, 0xEB, 0x00, 0xFF})
        EXPECT_FALSE(layer3sync(0xFF, static_cast<std::uint8_t>(b1))) << b1;
    EXPECT_FALSE(layer3sync(0xFE, 0xF3));
    // the stream's own version only
    EXPECT_TRUE(framesync(0xFF, 0xF3, version2));
    EXPECT_TRUE(framesync(0xFF, 0xF2, version2));
    EXPECT_FALSE(framesync(0xFF, 0xE3, version2));
    EXPECT_FALSE(framesync(0xFF, 0xFB, version2));
    EXPECT_TRUE(framesync(0xFF, 0xE3, version25));
    EXPECT_TRUE(framesync(0xFF, 0xFB, version1));
    EXPECT_FALSE(framesync(0xFF, 0xF3, version1));
}

TEST(FrameHeader, LowSamplingFrequencyTablesAndLengths)
{
    struct Rate {
        std::uint8_t b1, b2;
        int hz;
    };
    const Rate rates[] = {{0xF3, 0x00, 22050}, {0xF3, 0x04, 24000}, {0xF3, 0x08, 16000},
                          {0xE3, 0x00, 11025}, {0xE3, 0x04, 12000}, {0xE3, 0x08, 8000}};
    for (const Rate& r : rates) {
        SampleRate s{};
        ASSERT_TRUE(samplerate(r.b1, r.b2, s)) << r.hz;
        EXPECT_EQ(s.hz, r.hz);
        EXPECT_EQ(s.samplesperframe, 576);
        EXPECT_EQ(s.versionbits, versionof(r.b1));
        EXPECT_DOUBLE_EQ(s.secondsperframe, 576.0 / r.hz);
        EXPECT_EQ(sampleratehz(s.versionbits, s.bits), r.hz);
        for (int i = 1; i < 15; ++i)
            for (int pad : {0, 2}) {
                // 72000 x kbps / rate, rounded down, plus the padding byte
                const int want = 72000 * lsfkbpstable[i] / r.hz + (pad ? 1 : 0);
                EXPECT_EQ(framebytes(s.versionbits, s.bits, i, pad), want) << r.hz << " " << i;
                EXPECT_EQ(framelength(s.versionbits, i, pad, s.framesizefactor), want) << r.hz << " " << i;
            }
    }
    SampleRate s{};
    EXPECT_FALSE(samplerate(0xF3, 0x0C, s));  // reserved rate
    EXPECT_FALSE(samplerate(0xEB, 0x00, s));  // reserved version
    // 8 kbps at 24 kHz is the smallest frame, 160 kbps at 8 kHz the largest
    EXPECT_EQ(framebytes(version2, 4, 1, 0), 24);
    EXPECT_EQ(framebytes(version25, 8, 14, 0), 1440);
    EXPECT_EQ(framebytes(version2, 0, 8, 0), 208);  // 64 kbps at 22.05 kHz
    // MPEG-1 is as before
    EXPECT_EQ(framebytes(version1, 0, 9, 0), 417);
    EXPECT_TRUE(samplerate(0xFB, 0x90, s));
    EXPECT_EQ(s.samplesperframe, 1152);
    EXPECT_DOUBLE_EQ(s.secondsperframe, spf44);
}

TEST(FrameHeader, LowSamplingFrequencyTexts)
{
    EXPECT_EQ(bitratetext(version2, 1), "   8");
    EXPECT_EQ(bitratetext(version2, 13), " 144");
    EXPECT_EQ(bitratetext(version25, 14), " 160");
    EXPECT_EQ(bitratetext(version2, 0), "free");
    EXPECT_EQ(bitratetext(version2, 15), "    ");
    EXPECT_EQ(bitratetext(version1, 14), " 320");
    EXPECT_EQ(sampleratetext(version2, 0), "22.05 KHz, ");
    EXPECT_EQ(sampleratetext(version2, 4), "24 KHz, ");
    EXPECT_EQ(sampleratetext(version2, 8), "16 KHz, ");
    EXPECT_EQ(sampleratetext(version25, 0), "11.025 KHz, ");
    EXPECT_EQ(sampleratetext(version25, 4), "12 KHz, ");
    EXPECT_EQ(sampleratetext(version25, 8), "8 KHz, ");
    EXPECT_EQ(sampleratetext(version25, 12), "? KHz, ");
    EXPECT_EQ(sampleratetext(version1, 0), "44.1 KHz, ");
    EXPECT_EQ(versiontext(version2), "MPEG-2");
    EXPECT_EQ(versiontext(version25), "MPEG-2.5");
}

TEST(FrameGain, OneGranuleOfMpeg2)
{
    // mono: main_data_begin 8 bits, 1 private bit, part2_3_length 12 and
    // big_values 9, then global_gain at bits 30..37
    std::uint8_t mono[17] = {};
    mono[3] = 200 >> 6;
    mono[4] = static_cast<std::uint8_t>((200 & 0x3F) << 2);
    EXPECT_EQ(gainfromsideinfo(version2, 0xC4, mono), 200);
    // stereo: 2 private bits, channel 0 at bits 31..38, channel 1 63 bits on
    std::uint8_t st[17] = {};
    st[3] = 180 >> 7;
    st[4] = static_cast<std::uint8_t>((180 & 0x7F) << 1);
    st[11] = 100 >> 6;
    st[12] = static_cast<std::uint8_t>((100 & 0x3F) << 2);
    EXPECT_EQ(gainfromsideinfo(version25, 0x44, st), (180 + 100) / 2);
    // the MPEG-1 layout reads other bits
    EXPECT_NE(gainfromsideinfo(version1, 0xC4, mono), 200);
}
