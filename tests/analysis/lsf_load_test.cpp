// MPEG-2 and MPEG-2.5 Layer III files (tests/fixtures/lsf, and the damaged
// ones in tests/fixtures/hostile/lsf): loaded as MPEG-1 files are, with
// their own tables, 576-sample frames and one-granule gains; a stream that
// changes version midway stops the load with an error that says so.
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "support/harness.h"
#include "texts/load_texts.h"

using namespace qc;
using namespace qctest;

namespace {

Loaded loadlsf(const std::string& name, ErrorPolicy policy = ErrorPolicy::Attempt)
{
    PresetAnswers answers = PresetAnswers::yes();
    return loadfile(fixturepath(name), {policy, &answers, nullptr, true, true});
}

struct Smallest {
    const char* name;
    std::uint8_t versionbits;
    int hz;
    std::uint8_t headerlen;
    std::int64_t frames;
    int bitrateindex;
    const char* info;
    const char* bitrates;
};

const Smallest smallest[] = {
    {"lsf/mpeg25-8k-mono-8kbps.mp3", version25, 8000, 4, 7, 1, "8 KHz, 8 kbps, 0.504, mono", "   8 kbps frames:7"},
    {"lsf/mpeg2-24k-stereo-8kbps.mp3", version2, 24000, 4, 7, 1, "24 KHz, 8 kbps, 0.168, joint stereo",
     "   8 kbps frames:7"},
    {"lsf/mpeg25-11k-mono-crc.mp3", version25, 11025, 6, 6, 2, "11.025 KHz, 16 kbps, 0.313, mono",
     "  16 kbps frames:6"},
};

TEST(LsfLoad, TheSmallestRealFilesLoadWithTheirOwnTables)
{
    for (const Smallest& s : smallest) {
        SCOPED_TRACE(s.name);
        Loaded l = loadlsf(s.name);
        ASSERT_TRUE(l.report.ok) << failuretext(l.report.error);
        const LoadedFile& f = l.file;
        EXPECT_EQ(f.versionbits, s.versionbits);
        EXPECT_EQ(f.samplerate, s.hz);
        EXPECT_EQ(f.samplesperframe, 576);
        EXPECT_DOUBLE_EQ(f.secondsperframe, 576.0 / s.hz);
        EXPECT_EQ(f.headerlen, s.headerlen);
        ASSERT_EQ(f.framecount, s.frames);
        EXPECT_EQ(f.ratecount[s.bitrateindex], s.frames);
        // every frame where the MPEG-2 length of the one before ends, the
        // last one up to the end of the file
        const Bytes bytes = readbytes(fixturepath(s.name));
        for (std::int64_t i = 0; i < f.framecount; ++i) {
            const std::uint8_t b2 = bytes[static_cast<std::size_t>(f.framepos[i] - 1) + 2];
            const std::int64_t end = i + 1 < f.framecount ? f.framepos[i + 1] : static_cast<std::int64_t>(bytes.size()) + 1;
            EXPECT_EQ(end - f.framepos[i], 72000 * lsfkbpstable[b2 >> 4] / s.hz + ((b2 >> 1) & 1)) << i;
        }
        EXPECT_EQ(l.report.samplerate, s.hz);
        EXPECT_EQ(l.report.samplesperframe, 576);
        EXPECT_EQ(infocaption(l.report), s.info);
        EXPECT_EQ(bitratecaption(l.report, s.bitrateindex), s.bitrates);
    }
}

// What the window shows of one: the information line and the bitrate
// labels by the MPEG-2 table.
TEST(LsfLoad, TheWindowShowsTheLsfBitratesAndRate)
{
    Loader loader;
    ASSERT_TRUE(loader.load(fixturepath("lsf/mpeg2-24k-stereo-8kbps.mp3")));
    EXPECT_EQ(loader.form.infolabel.caption(), "24 KHz, 8 kbps, 0.168, joint stereo");
    EXPECT_EQ(loader.form.kbpslabel[1]->caption(), "   8 kbps frames:7");
    EXPECT_EQ(loader.form.kbpslabel[14]->caption(), " 160 kbps frames:0");
}

TEST(LsfLoad, ADamagedMiddleIsDamageAsInMpeg1)
{
    // frames 41 and 42 lost their headers
    Loaded failed = loadlsf("hostile/lsf/mpeg2-damaged-middle.mp3", ErrorPolicy::Fail);
    EXPECT_FALSE(failed.report.ok);
    EXPECT_EQ(failed.report.error.cause, Cause::FrameSize);
    EXPECT_EQ(failuretext(failed.report.error), "Improper frame size");

    Loaded l = loadlsf("hostile/lsf/mpeg2-damaged-middle.mp3");
    ASSERT_TRUE(l.report.ok);
    EXPECT_EQ(l.file.versionbits, version2);
    // the walk finds the frames after the damage again
    EXPECT_EQ(l.file.framecount, 77);
    EXPECT_EQ(l.file.framepos[40], 4181);
    EXPECT_GT(l.file.framepos[41], 4181 + 310);
}

TEST(LsfLoad, AVersionChangeMidwayStopsTheLoadSayingWhatChanged)
{
    for (ErrorPolicy policy : {ErrorPolicy::Fail, ErrorPolicy::Prompt, ErrorPolicy::Attempt}) {
        Loaded l = loadlsf("hostile/lsf/mpeg2-then-mpeg1.mp3", policy);
        EXPECT_FALSE(l.report.ok);
        EXPECT_EQ(l.report.error.cause, Cause::VersionChanged);
        EXPECT_EQ(l.report.error.kind, ErrorKind::Damaged);
        EXPECT_EQ(l.report.error.position, 8256);
        EXPECT_EQ(failuretext(l.report.error), "MPEG version changes midway, at position 8256 - not allowed.");
    }
    // the MPEG-2 part alone loads
    TempDir dir;
    const Bytes both = readbytes(fixturepath("hostile/lsf/mpeg2-then-mpeg1.mp3"));
    const std::string part = dir.write("part.mp3", Bytes(both.begin(), both.begin() + 8255));
    PresetAnswers answers = PresetAnswers::yes();
    Loaded l = loadfile(part, {ErrorPolicy::Fail, &answers, nullptr, true, true});
    ASSERT_TRUE(l.report.ok);
    EXPECT_EQ(l.file.framecount, 79);
}

TEST(LsfLoad, SideInformationCutOffByTheEndOfTheFile)
{
    Loaded l = loadlsf("hostile/lsf/mpeg2-side-info-past-end.mp3");
    ASSERT_TRUE(l.report.ok);
    EXPECT_EQ(l.file.framecount, 4);
}

}  // namespace
