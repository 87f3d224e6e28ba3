// The methods on real encoder output: a 3-second 440 Hz tone with 40 frames
// (46080 samples) of digital silence before it and 60 frames (69120 samples)
// after it, encoded by lame at 44.1 and 48 kHz, stereo CBR and mono VBR
// (tests/fixtures/silence/README.md). lame begins with an Info frame whose
// side information is zero (gain 0, blank) and gives a silent granule the
// global gain 210, so to the methods lame's silence is not blank.
#include <gtest/gtest.h>

#include "silence/methods.h"
#include "support/harness.h"

namespace {

struct Encoded {
    const char* name;
    std::uint8_t sampleratebits;
    std::uint8_t channelmode;
    std::int32_t framecount;
};

const Encoded encoded[] = {
    {"silence44-cbr-stereo.mp3", 0, qc::mode_joint, 217},
    {"silence44-vbr-mono.mp3", 0, qc::mode_mono, 217},
    {"silence48-cbr-stereo.mp3", 4, qc::mode_joint, 227},
    {"silence48-vbr-mono.mp3", 4, qc::mode_mono, 227},
};

constexpr std::int32_t leadingsilence = 1 + 40;  // the Info frame and 40 silent frames
constexpr std::int32_t trailingsilence = 60;
constexpr std::uint8_t lamesilentgain = 210;

std::string fixture(const Encoded& e)
{
    return qctest::fixturepath(std::string("silence/") + e.name);
}

TEST(SilenceOnEncodedFiles, WhatEachMethodFinds)
{
    for (const Encoded& e : encoded) {
        SCOPED_TRACE(e.name);
        qctest::Loader loader;
        ASSERT_TRUE(loader.load(fixture(e)));
        const qc::LoadedFile& f = loader.file;
        ASSERT_EQ(f.framecount, e.framecount);
        EXPECT_EQ(f.sampleratebits, e.sampleratebits);
        EXPECT_EQ(f.channelmode, e.channelmode);
        // what the encoder wrote: the Info frame, then silence at gain 210
        EXPECT_EQ(f.framegain[0], 0);
        EXPECT_EQ(f.framegain[1], lamesilentgain);
        EXPECT_EQ(f.framegain[f.framecount - 1], lamesilentgain);

        // method 1 sees only the blank Info frame
        EXPECT_EQ(qc::autodetected(f, 0, 1), 1);
        EXPECT_EQ(qc::autodetected(f, 1, 1), 0);
        // method 2 takes the run of 210s for what it is: the silence, exactly
        EXPECT_EQ(qc::autodetected(f, 0, 2), leadingsilence);
        EXPECT_EQ(qc::autodetected(f, 1, 2), trailingsilence);
        // method 3 finds the 210s already loud: at the start it stops at the
        // first place it may, at the end the tone never reaches the threshold
        EXPECT_EQ(qc::autodetected(f, 0, 3), 4);
        EXPECT_EQ(qc::autodetected(f, 1, 3), 0);
    }
}

}  // namespace

namespace {

// The same tone in MPEG-2.5 at 8 kHz mono and MPEG-2 at 22.05 kHz stereo,
// 40 frames of 576 samples of silence before it and 60 after: one granule
// a frame, whose global gain lame sets to 210 in silence as in MPEG-1. The
// methods count frames, so they find the same frames; at 8 kHz each is
// 72 ms, 2.8 times an MPEG-1 frame at 44.1 kHz.
struct EncodedLsf {
    const char* name;
    std::uint8_t versionbits;
    int samplerate;
    std::int32_t framecount;
};

const EncodedLsf encodedlsf[] = {
    {"silence8-vbr-mono.mp3", qc::version25, 8000, 145},
    {"silence22-cbr-stereo.mp3", qc::version2, 22050, 218},
};

TEST(SilenceOnEncodedFiles, OneGranuleFramesOfMpeg2)
{
    for (const EncodedLsf& e : encodedlsf) {
        SCOPED_TRACE(e.name);
        qctest::Loader loader;
        ASSERT_TRUE(loader.load(qctest::fixturepath(std::string("silence/") + e.name)));
        const qc::LoadedFile& f = loader.file;
        ASSERT_EQ(f.framecount, e.framecount);
        EXPECT_EQ(f.versionbits, e.versionbits);
        EXPECT_EQ(f.samplerate, e.samplerate);
        EXPECT_EQ(f.framegain[0], 0);
        EXPECT_EQ(f.framegain[1], lamesilentgain);
        EXPECT_EQ(f.framegain[40], lamesilentgain);
        EXPECT_GT(f.framegain[41], 0);
        EXPECT_LT(f.framegain[41], lamesilentgain);
        EXPECT_EQ(f.framegain[f.framecount - 1], lamesilentgain);
        EXPECT_EQ(qc::autodetected(f, 0, 1), 1);
        EXPECT_EQ(qc::autodetected(f, 1, 1), 0);
        EXPECT_EQ(qc::autodetected(f, 0, 2), leadingsilence);
        EXPECT_EQ(qc::autodetected(f, 1, 2), trailingsilence);
        EXPECT_EQ(qc::autodetected(f, 0, 3), 4);
        EXPECT_EQ(qc::autodetected(f, 1, 3), 0);
    }
}

}  // namespace
