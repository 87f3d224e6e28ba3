// quillcut-cli cut, run as a user would run it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/harness.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string shq(const std::string& s)
{
    return "'" + s + "'";
}

std::string contents(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

CliRun cli(const TempDir& dir, const std::string& args)
{
    std::string out = dir.path("stdout.txt"), err = dir.path("stderr.txt");
    std::string command = shq(QC_CLI_PATH) + " " + args + " >" + shq(out) + " 2>" + shq(err);
    int rc = std::system(command.c_str());
    CliRun r;
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = contents(out);
    r.err = contents(err);
    return r;
}

nlohmann::json parsed(const CliRun& r)
{
    return nlohmann::json::parse(r.out, nullptr, false);
}

Bytes range(const Bytes& src, std::int64_t from, std::int64_t to)  // 1-based, to exclusive
{
    return Bytes(src.begin() + from - 1, src.begin() + to - 1);
}

TEST(CutCommand, FrameCutsWriteTheKeptStretchesAndReportThem)
{
    TempDir dir;
    const std::string sample = samplepath("tone44-cbr64-tagged.mp3");
    const Bytes src = readbytes(sample);
    Loader loader;
    ASSERT_TRUE(loader.load(sample));
    const qc::LoadedFile& f = loader.file;
    const std::int64_t size = static_cast<std::int64_t>(src.size());
    const Bytes frames = range(src, f.framepos[4], f.framepos[61]);

    const std::string out = dir.path("out.mp3");
    CliRun r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(out) + " --start-frames 4 --end-frames 3");
    EXPECT_EQ(r.status, 0) << r.err;
    const Bytes expected = range(src, 1, 250) + frames + range(src, size - 127, size + 1);
    EXPECT_EQ(readbytes(out), expected);
    EXPECT_EQ(r.out, out + ": 57 frames kept, " + std::to_string(expected.size()) + " bytes written, 1.489 seconds\n");

    CliRun j = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("bare.mp3")) +
                         " --start-frames 4 --end-frames 3 --remove-id3v2 --remove-id3v1 --remove-riff --json");
    EXPECT_EQ(j.status, 0) << j.err;
    EXPECT_EQ(readbytes(dir.path("bare.mp3")), frames);
    nlohmann::json doc = parsed(j);
    ASSERT_TRUE(doc.is_object()) << j.out;
    EXPECT_EQ(doc["output"], dir.path("bare.mp3"));
    EXPECT_EQ(doc["frames_kept"], 57);
    EXPECT_EQ(doc["bytes"], frames.size());
    EXPECT_NEAR(doc["seconds"].get<double>(), 57 * 0.0261224489795918, 1e-9);
    EXPECT_TRUE(doc["error"].is_null());
}

// MPEG-2.5 at 11.025 kHz with CRC words: byte for byte as MPEG-1, its
// seconds in 576-sample frames; --info shows the version and the JSON has it.
TEST(CutCommand, ByteExactCutsOfAnMpeg25File)
{
    TempDir dir;
    const std::string sample = fixturepath("lsf/mpeg25-11k-mono-crc.mp3");
    const Bytes src = readbytes(sample);
    Loader loader;
    ASSERT_TRUE(loader.load(sample));
    const qc::LoadedFile& f = loader.file;
    ASSERT_EQ(f.framecount, 6);
    const std::string out = dir.path("out.mp3");
    CliRun r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(out) + " --start-frames 2 --end-frames 1 --json");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readbytes(out), range(src, f.framepos[2], f.framepos[5]));
    nlohmann::json doc = parsed(r);
    EXPECT_EQ(doc["frames_kept"], 3);
    EXPECT_NEAR(doc["seconds"].get<double>(), 3 * 576.0 / 11025, 1e-9);
    // seconds become 576-sample frames: 0.1 s is 1.91 frames
    r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("s.mp3")) + " --start 0.1 --json");
    EXPECT_EQ(parsed(r)["frames_kept"], 4);

    CliRun info = cli(dir, "info --json " + shq(sample));
    doc = parsed(info);
    EXPECT_EQ(doc["mpeg_version"], "MPEG-2.5");
    EXPECT_EQ(doc["samples_per_frame"], 576);
    EXPECT_EQ(doc["sample_rate"], 11025);
    EXPECT_EQ(doc["bitrate_frames"]["16"], 6);
    EXPECT_EQ(doc["info"], "11.025 KHz, 16 kbps, 0.313, mono");
}

TEST(CutCommand, SecondsBecomeFramesRoundedHalfToEvenWithoutTheBoxLimit)
{
    TempDir dir;
    // 0.06 s at 48 kHz is 2.5 frames: 2 frames go
    CliRun r = cli(dir, "cut --byte-exact " + shq(samplepath("tone48-vbr-mono.mp3")) + " -o " + shq(dir.path("a.mp3")) +
                         " --start 0.06 --end-frames 1 --remove-id3v2 --json");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(parsed(r)["frames_kept"], 77);

    // 100 seconds are 3828 frames at 44.1 kHz, more than the cut boxes allow
    const std::string longfile = dir.write("long.mp3", frames(5000, FrameSpec{}));
    r = cli(dir, "cut --byte-exact " + shq(longfile) + " -o " + shq(dir.path("b.mp3")) + " --start 100 --end 1 --json");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(parsed(r)["frames_kept"], 5000 - 3828 - 38);
    EXPECT_EQ(fs::file_size(dir.path("b.mp3")), (5000u - 3828u - 38u) * frame(FrameSpec{}).size());
}

// In exact output seconds are audio time, cut to the sample: the tagged
// sample plays 70,560 samples, of which 1 s and 0.25 s go.
TEST(CutCommand, ExactOutputCutsSecondsToTheSample)
{
    TempDir dir;
    CliRun r = cli(dir, "cut " + shq(samplepath("tone44-cbr64-tagged.mp3")) + " -o " + shq(dir.path("a.mp3")) +
                            " --start 1 --end 0.25 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json doc = parsed(r);
    EXPECT_EQ(doc["exact"]["samples"], 70560 - 44100 - 11025);
    EXPECT_DOUBLE_EQ(doc["seconds"].get<double>(), 0.35);
    // the frames each cut removes whole: 40 at the start (the Info frame
    // among them), 10 at the end
    EXPECT_EQ(doc["frames_kept"], 64 - 40 - 10);
}

TEST(CutCommand, NothingToChangeAndNothingKept)
{
    TempDir dir;
    const std::string sample = samplepath("tone32-crc.mp3");
    CliRun r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("same.mp3")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "No changes - will not save.\n");
    EXPECT_FALSE(fs::exists(dir.path("same.mp3")));
    // a script learns that nothing was written: on standard error, and as
    // the last warning of the report, after the load's own
    EXPECT_EQ(r.err, sample + ": No changes - will not save.\n");
    FrameSpec free;
    free.bitrateindex = 0;  // its warning comes from the load
    const std::string freeformat = dir.write("free.mp3", frames(2, free) + frames(3, FrameSpec{}));
    for (const std::string& file : {sample, freeformat}) {
        r = cli(dir, "cut " + shq(file) + " -o " + shq(dir.path("same.mp3")) + " --json");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        nlohmann::json doc = parsed(r);
        EXPECT_TRUE(doc["output"].is_null());
        EXPECT_TRUE(doc["error"].is_null());
        ASSERT_EQ(doc["warnings"].size(), file == sample ? 1u : 2u) << r.out;
        EXPECT_EQ(doc["warnings"].back(), "No changes - will not save.");
        EXPECT_FALSE(fs::exists(dir.path("same.mp3")));
    }

    r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("none.mp3")) + " --start-frames 20 --end-frames 21");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Time to delete must be smaller than total time."), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.path("none.mp3")));
    r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("none.mp3")) + " --end 1e300 --json");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(parsed(r)["error"]["window"], "Time to delete must be smaller than total time.");

    // unknown data left out is a change; included, it is not
    const std::string junk = dir.write("junk.mp3", frames(10, FrameSpec{}) + filler(20, 0x45));
    r = cli(dir, "cut --byte-exact " + shq(junk) + " -o " + shq(dir.path("clean.mp3")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readbytes(dir.path("clean.mp3")), frames(10, FrameSpec{}));
    r = cli(dir, "cut --byte-exact " + shq(junk) + " -o " + shq(dir.path("kept.mp3")) + " --include-unknown");
    EXPECT_EQ(r.out, "No changes - will not save.\n");

    // removing what the file lacks is no error, and no change
    r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("x.mp3")) + " --remove-id3v2 --remove-id3v1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "No changes - will not save.\n");
}

TEST(CutCommand, OutputOntoTheInputReplacesItSafely)
{
    TempDir dir;
    const std::string copy = dir.write("song.mp3", readbytes(samplepath("tone44-cbr64-tagged.mp3")));
    CliRun r = cli(dir, "cut --byte-exact " + shq(copy) + " -o " + shq(dir.path("other.mp3")) + " --start-frames 2 --end 0.1");
    ASSERT_EQ(r.status, 0) << r.err;
    // a relative spelling of the same file, from its own directory
    std::string command = "cd " + shq(dir.path("")) + " && " + shq(QC_CLI_PATH) +
                          " cut --byte-exact song.mp3 -o ./song.mp3 --start-frames 2 --end 0.1 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readbytes(copy), readbytes(dir.path("other.mp3")));
    EXPECT_FALSE(fs::exists(dir.path("song.tmpmp3")));
}

TEST(CutCommand, BadArgumentsAndUnloadableFiles)
{
    TempDir dir;
    const std::string sample = samplepath("tone32-crc.mp3");
    CliRun r = cli(dir, "cut --byte-exact " + shq(sample) + " -o " + shq(dir.path("x.mp3")) + " --start 1 --start-frames 2");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(dir.path("x.mp3")));

    r = cli(dir, "cut --byte-exact " + shq(dir.path("absent.mp3")) + " -o " + shq(dir.path("x.mp3")) + " --start 1 --json");
    EXPECT_EQ(r.status, 1);
    nlohmann::json doc = parsed(r);
    EXPECT_TRUE(doc["output"].is_null());
    EXPECT_EQ(doc["error"]["window"], "Disk or unknown error.");
    EXPECT_FALSE(fs::exists(dir.path("x.mp3")));
}

}  // namespace
