// The load report: the facts a load found, the unknown stretches with the
// extents the writer copies, and the error kind with its errno when the
// load fails.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <unistd.h>

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "cutting/copy_plan.h"
#include "support/harness.h"
#include "support/open_files.h"

using namespace qc;
using namespace qctest;

namespace {

const FrameSpec f128{};

struct Engine {
    LoadedFile file;
    Scanner scanner{file};
    bool maps = true;
    PresetAnswers answers = PresetAnswers::yes();

    LoadReport load(const std::string& path, ErrorPolicy policy = ErrorPolicy::Attempt,
                    LoadProgress* progress = nullptr)
    {
        answers.reset();
        file.sourcename = path;
        file.cutframes[0] = file.cutframes[1] = 0;
        return scanner.scanfile({policy, &answers, progress, true, maps});
    }
};

}  // namespace

TEST(LoadReport, FactsOfBuiltFilesAndSamples)
{
    TempDir dir;
    Engine run;
    const Bytes tagged = id3v2tag(90) + frames(20, f128) + frames(10, FrameSpec{.bitrateindex = 5}) + id3v1tag();
    LoadReport r = run.load(dir.write("tagged.mp3", tagged));
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.error.failed());
    EXPECT_EQ(r.filesize, static_cast<std::int64_t>(tagged.size()));
    EXPECT_EQ(r.frames, 30);
    EXPECT_EQ(r.firstframe, 100);
    EXPECT_EQ(r.bitrateframes[9], 20);
    EXPECT_EQ(r.bitrateframes[5], 10);
    EXPECT_EQ(r.dominantbitrate, -1);
    EXPECT_EQ(r.samplerate, 44100);
    EXPECT_DOUBLE_EQ(r.seconds, 30 * spf44);
    EXPECT_TRUE(r.id3v2.present);
    EXPECT_EQ(r.id3v2.offset, 0);
    EXPECT_EQ(r.id3v2.size, 100);
    EXPECT_FALSE(r.riff.present);
    EXPECT_TRUE(r.id3v1.present);
    EXPECT_FALSE(r.id3v1damaged);
    EXPECT_EQ(r.id3v1.offset, r.filesize - 128);
    EXPECT_EQ(r.id3v1.size, 128);
    EXPECT_TRUE(r.unknown.empty());
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_TRUE(run.answers.asked.empty());

    // every sample loads without a question; its frames all have one
    // sampling frequency and add up to the count
    for (const char* name : {"tone32-crc.mp3", "tone44-cbr128.mp3", "tone44-cbr64-tagged.mp3", "tone48-vbr-mono.mp3"}) {
        SCOPED_TRACE(name);
        r = run.load(samplepath(name));
        ASSERT_TRUE(r.ok);
        std::int32_t sum = 0;
        for (std::int32_t n : r.bitrateframes)
            sum += n;
        EXPECT_EQ(sum, r.frames);
        EXPECT_EQ(r.lastframe, run.file.framepos[r.frames - 1] - 1);
        EXPECT_EQ(r.samplerate, std::string(name).starts_with("tone32") ? 32000
                                : std::string(name).starts_with("tone48") ? 48000
                                                                         : 44100);
        EXPECT_NEAR(r.seconds, r.frames * r.secondsperframe, 1e-9);
        EXPECT_TRUE(r.unknown.empty());
    }
    EXPECT_EQ(run.load(samplepath("tone44-cbr128.mp3")).dominantbitrate, 9);
}

TEST(LoadReport, UnknownStretchesHaveTheExtentsTheWriterCopies)
{
    TempDir dir;
    Engine run;
    // unknown data before the first frame, between the frames and the tag, after the tag
    const Bytes bytes = filler(40, 'a') + frames(6, f128) + filler(10, 'b') + id3v1tag() + filler(30, 'c');
    LoadReport r = run.load(dir.write("three.mp3", bytes));
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.unknown.size(), 3u);
    EXPECT_EQ(r.unknown[0], (UnknownStretch{UnknownStretch::Leading, 1, 41, true}));
    EXPECT_EQ(r.unknown[1], (UnknownStretch{UnknownStretch::Between, 41 + 6 * 417, 51 + 6 * 417, true}));
    EXPECT_EQ(r.unknown[2].where, UnknownStretch::After);
    EXPECT_EQ(r.unknown[2].offset(), static_cast<std::int64_t>(bytes.size()) - 30);
    EXPECT_EQ(r.unknown[2].size(), 30);
    // the questions came in file order of the answers the window asks
    ASSERT_FALSE(run.answers.asked.empty());
    EXPECT_EQ(run.answers.asked[0], (Question{Question::DataAfterTag, 30}));

    // A file that ends in 100 bytes of a damaged ID3v1 tag right where the
    // next frame was expected: the stretch asked about runs to the end of
    // the file, all 100 bytes, and an included stretch is copied whole.
    Bytes damaged = frames(8, f128) + id3v1tag();
    damaged.resize(damaged.size() - 28);
    r = run.load(dir.write("damaged.mp3", damaged));
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.id3v1damaged);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, Notice::DamagedFooter);
    ASSERT_EQ(r.unknown.size(), 1u);
    EXPECT_EQ(r.unknown[0].offset(), 8 * 417);
    EXPECT_EQ(r.unknown[0].size(), 100);
    std::optional<CopyPlan> plan = makecopyplan(run.file, {});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->pieces.back().end, r.unknown[0].end);
    EXPECT_EQ(plan->bytes(), static_cast<std::int64_t>(damaged.size()));
}

TEST(LoadReport, FailuresCarryTheirKindAndErrno)
{
    TempDir dir;
    Engine run;
    LoadReport r = run.load(dir.path("missing.mp3"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.kind, ErrorKind::NotFound);
    EXPECT_EQ(r.error.cause, Cause::Disk);
    EXPECT_EQ(r.error.errnum, ENOENT);
    EXPECT_FALSE(run.file.loadok);

    r = run.load(dir.path("nofolder/a.mp3"));
    EXPECT_EQ(r.error.kind, ErrorKind::NotFound);

    std::filesystem::create_directory(dir.path("folder.mp3"));
    r = run.load(dir.path("folder.mp3"));
    EXPECT_EQ(r.error.kind, ErrorKind::ReadFailed);
    EXPECT_EQ(r.error.errnum, EISDIR);

    // A source is only read: a read-only file loads.
    const std::string readonly = dir.write("readonly.mp3", frames(5, f128));
    std::filesystem::permissions(readonly, std::filesystem::perms::owner_read);
    r = run.load(readonly);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error.kind, ErrorKind::None);
    // Unreadable: only a user other than root is refused the read itself.
    if (::geteuid() != 0) {
        const std::string unreadable = dir.write("unreadable.mp3", frames(5, f128));
        std::filesystem::permissions(unreadable, std::filesystem::perms::owner_write);
        r = run.load(unreadable);
        EXPECT_EQ(r.error.kind, ErrorKind::Permission);
        EXPECT_EQ(r.error.errnum, EACCES);
    }

    r = run.load(dir.write("text.mp3", filler(5000, 'z')));
    EXPECT_EQ(r.error.kind, ErrorKind::NotMp3);
    EXPECT_EQ(r.error.errnum, 0);

    // damage in the middle: fails under the fail policy, is a cancel when
    // the truncation question is answered Cancel
    const Bytes middle = frames(50, f128) + filler(3000, 0) + frames(50, f128);
    r = run.load(dir.write("middle.mp3", middle), ErrorPolicy::Fail);
    EXPECT_EQ(r.error.kind, ErrorKind::Damaged);
    EXPECT_EQ(r.error.cause, Cause::FrameSize);
    EXPECT_FALSE(r.cancelledat);

    run.answers.cancelfirst = true;
    r = run.load(dir.write("lead.mp3", filler(40, 'a') + frames(6, f128)));
    EXPECT_EQ(r.error.kind, ErrorKind::Cancelled);
    ASSERT_TRUE(r.cancelledat);
    EXPECT_EQ(*r.cancelledat, (Question{Question::LeadingData, 40}));
}

namespace {
// Cuts the file short the first time the walk reports its progress.
struct Shrinker : LoadProgress {
    std::string path;
    bool done = false;
    void position(int) override
    {
        if (!done)
            std::filesystem::resize_file(path, 1000);
        done = true;
    }
    void walkdone() override {}
};
}  // namespace

TEST(LoadReport, AFileThatShrinksDuringTheLoadIsAReadFailure)
{
    TempDir dir;
    Engine run;
    Shrinker shrink;
    // far larger than the file layer's read window, so the walk must read again
    shrink.path = dir.write("shrinks.mp3", frames(600, f128));
    LoadReport r = run.load(shrink.path, ErrorPolicy::Attempt, &shrink);
    EXPECT_TRUE(shrink.done);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.kind, ErrorKind::ReadFailed);
    EXPECT_EQ(r.error.cause, Cause::Disk);
    EXPECT_EQ(r.error.errnum, 0);  // the file ended early; the system reported nothing
    EXPECT_FALSE(qctest::openinprocess(run.file.sourcename));
}

namespace {
struct ProgressLog : LoadProgress {
    std::vector<int> positions;
    void position(int percent) override { positions.push_back(percent); }
    void walkdone() override {}
};
}  // namespace

// The walk tells its progress at the 1st, 257th, 513th... frame, as the share
// of the file that lies before that frame, whether it runs through frames
// that follow each other exactly or has to look for the next one.
TEST(LoadReport, ProgressIsTheShareWalkedAtEvery256thFrameOnEitherReadPath)
{
    TempDir dir;
    FrameSpec f160 = f128;
    f160.bitrateindex = 10;
    FrameSpec padded = f128;
    padded.padding = true;
    padded.mode = 0xC0;  // mono
    const Bytes bytes = frames(300, f128) + filler(1, 0) + frames(300, f160) + filler(2, 0) + frames(400, padded);
    const std::string path = dir.write("walk.mp3", bytes);
    for (bool maps : {true, false}) {
        SCOPED_TRACE(maps ? "map" : "read window");
        Engine run;
        run.maps = maps;
        ProgressLog log;
        ASSERT_TRUE(run.load(path, ErrorPolicy::Attempt, &log).ok);
        ASSERT_EQ(run.file.framecount, 1000);
        ASSERT_EQ(log.positions.size(), 4u);
        for (int k = 1; k < 4; ++k) {
            const double before = run.file.framepos[256 * k];
            EXPECT_EQ(log.positions[k], std::lround(100.0 * before / static_cast<double>(bytes.size()))) << k;
        }
    }
}
