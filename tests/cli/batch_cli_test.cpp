// quillcut-cli cut over several files: output naming, parallel workers, and
// the report of each file in input order.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_run.h"
#include "support/harness.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;
using json = nlohmann::json;

std::string q(const std::string& s)
{
    return "'" + s + "'";
}

std::vector<json> jsonlines(const std::string& out)
{
    std::vector<json> v;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        v.push_back(json::parse(line));
    return v;
}

// Five loadable files of different make and one that is no MP3, in the middle.
std::vector<std::string> mixedfiles(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const char* s : {"tone44-cbr64-tagged.mp3", "tone32-crc.mp3", "tone48-vbr-mono.mp3"})
        names.push_back(dir.write(s, readbytes(samplepath(s))));
    names.push_back(dir.write("broken.mp3", filler(3000, 0x11)));
    names.push_back(dir.write("junk.mp3", frames(30, FrameSpec{}) + filler(20, 'y')));
    names.push_back(dir.write("riff.mp3", readbytes(fixturepath("riff-wrapped.mp3"))));
    return names;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string s;
    for (const std::string& n : names)
        s += q(n) + " ";
    return s;
}

TEST(BatchCut, OutputsEqualOneAtATimeCutsInEveryModeAndJobCount)
{
    TempDir dir;
    std::vector<std::string> names = mixedfiles(dir);
    const std::string options = " --start-frames 3 --end-frames 2 --remove-id3v1 --json";
    fs::create_directories(dir.path("single"));
    for (const std::string& n : names)
        runcli("cut " + q(n) + " -o " + q(dir.path("single/" + fs::path(n).filename().string())) + options);

    for (int jobs : {1, 4}) {
        SCOPED_TRACE(jobs);
        std::string outdir = dir.path("batch" + std::to_string(jobs));
        fs::create_directories(outdir);
        CliResult r = runcli("cut " + joined(names) + "--output-dir " + q(outdir) + options + " --jobs " +
                             std::to_string(jobs));
        EXPECT_EQ(r.status, 1);  // the broken file
        std::vector<json> v = jsonlines(r.out);
        ASSERT_EQ(v.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string name = fs::path(names[i]).filename().string();
            EXPECT_EQ(v[i]["file"], names[i]);
            if (name == "broken.mp3") {
                EXPECT_EQ(v[i]["error"]["kind"], "not-mp3");
                EXPECT_FALSE(fs::exists(outdir + "/" + name));
                continue;
            }
            EXPECT_TRUE(v[i]["error"].is_null()) << v[i];
            EXPECT_EQ(v[i]["output"], outdir + "/" + name);
            EXPECT_EQ(readbytes(outdir + "/" + name), readbytes(dir.path("single/" + name))) << name;
        }
        // nothing is left behind under a temporary name
        EXPECT_EQ(std::distance(fs::directory_iterator(outdir), fs::directory_iterator{}), 5);
    }

    // beside each source, and in place: the same bytes
    CliResult suffix = runcli("cut " + q(names[0]) + " " + q(names[4]) + " --suffix .trim" + options);
    EXPECT_EQ(suffix.status, 0) << suffix.err;
    EXPECT_EQ(readbytes(dir.path("tone44-cbr64-tagged.trim.mp3")), readbytes(dir.path("single/tone44-cbr64-tagged.mp3")));
    EXPECT_EQ(readbytes(dir.path("junk.trim.mp3")), readbytes(dir.path("single/junk.mp3")));
    CliResult inplace = runcli("cut " + q(names[1]) + " " + q(names[2]) + " --in-place --jobs 2" + options);
    EXPECT_EQ(inplace.status, 0) << inplace.err;
    EXPECT_EQ(readbytes(names[1]), readbytes(dir.path("single/tone32-crc.mp3")));
    EXPECT_EQ(readbytes(names[2]), readbytes(dir.path("single/tone48-vbr-mono.mp3")));
}

TEST(BatchCut, ReportsComeInInputOrderWhateverTheJobCount)
{
    TempDir dir;
    std::vector<std::string> names = mixedfiles(dir);
    // the large file first, so that with four workers the others finish before it
    names.insert(names.begin(), dir.write("long.mp3", frames(20000, FrameSpec{})));
    for (const char* verb : {"info", "info --json --gains", "tags", "tags --json"}) {
        SCOPED_TRACE(verb);
        CliResult one = runcli(std::string(verb) + " --jobs 1 " + joined(names));
        CliResult four = runcli(std::string(verb) + " --jobs 4 " + joined(names));
        EXPECT_EQ(one.status, 1);
        EXPECT_EQ(four.status, 1);
        EXPECT_EQ(one.out, four.out);
        EXPECT_EQ(one.err, four.err);
        EXPECT_NE(one.out.find("broken.mp3"), std::string::npos);
    }
    std::string outdir = dir.path("out");
    fs::create_directories(outdir);
    CliResult one = runcli("cut --jobs 1 --output-dir " + q(outdir) + " --end-frames 1 " + joined(names));
    CliResult four = runcli("cut --jobs 4 --output-dir " + q(outdir) + " --end-frames 1 " + joined(names));
    EXPECT_EQ(one.out, four.out);
    EXPECT_EQ(one.err, four.err);
    EXPECT_EQ(four.status, 1);
    // the files after the failing one were still handled
    EXPECT_NE(four.out.find(outdir + "/riff.mp3: "), std::string::npos) << four.out;
    // no progress line when standard error is no terminal
    EXPECT_EQ(four.err.find('\r'), std::string::npos);
}

TEST(BatchCut, OutputsThatWouldClashAreRefusedAndTheRestWritten)
{
    TempDir dir;
    fs::create_directories(dir.path("a"));
    fs::create_directories(dir.path("b"));
    fs::create_directories(dir.path("out"));
    const Bytes sample = readbytes(samplepath("tone32-crc.mp3"));
    std::string a = dir.write("a/song.mp3", sample), b = dir.write("b/song.mp3", sample);
    std::string other = dir.write("a/other.mp3", sample);

    // two sources of one name into one directory: the second is not written over the first
    CliResult r = runcli("cut " + q(a) + " " + q(b) + " " + q(other) + " --output-dir " + q(dir.path("out")) +
                         " --start-frames 1 --json --jobs 3");
    EXPECT_EQ(r.status, 1);
    std::vector<json> v = jsonlines(r.out);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[0]["error"].is_null());
    EXPECT_EQ(v[1]["error"]["kind"], "usage");
    EXPECT_TRUE(v[2]["error"].is_null());
    EXPECT_EQ(readbytes(dir.path("out/song.mp3")), readbytes(dir.path("out/other.mp3")));

    // an output that is another source of the run is not replaced while it is read
    r = runcli("cut " + q(b) + " " + q(a) + " --output-dir " + q(dir.path("a")) + " --start-frames 1 --json");
    v = jsonlines(r.out);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0]["error"]["kind"], "usage");
    EXPECT_TRUE(v[1]["error"].is_null());  // a/song.mp3 onto itself
    EXPECT_EQ(readbytes(b), sample);

    // the same file twice in place is cut once
    std::string twice = dir.write("twice.mp3", sample);
    r = runcli("cut " + q(twice) + " " + q(twice) + " --in-place --start-frames 1 --json");
    v = jsonlines(r.out);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_TRUE(v[0]["error"].is_null());
    EXPECT_EQ(v[1]["error"]["kind"], "usage");
    EXPECT_EQ(fs::file_size(twice), fs::file_size(dir.path("out/other.mp3")));

    // the output options exclude each other; -o takes one file
    for (const std::string& args : {"cut " + q(a) + " " + q(b) + " -o " + q(dir.path("x.mp3")),
                                    "cut " + q(a) + " --in-place --suffix x", "cut " + q(a)}) {
        CliResult u = runcli(args + " --json");
        EXPECT_EQ(u.status, 2) << args;
        std::vector<json> lines = jsonlines(u.out);
        ASSERT_EQ(lines.size(), 1u) << args;
        EXPECT_EQ(lines[0]["error"]["kind"], "usage");
        EXPECT_TRUE(lines[0]["file"].is_null());
    }
    EXPECT_FALSE(fs::exists(dir.path("x.mp3")));
}

}  // namespace
