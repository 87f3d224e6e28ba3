// What quillcut-cli reports beside the facts: the keys every verb shares,
// the kinds and causes of failures, what a cut left out, the frame gains.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

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

TEST(CliReport, EveryVerbHasTheCommonKeysOnSuccessAndFailure)
{
    TempDir dir;
    const std::string good = samplepath("tone44-cbr64-tagged.mp3"), missing = dir.path("missing.mp3");
    const std::string files = q(good) + " " + q(missing);
    const std::vector<std::string> runs = {"info --json " + files, "tags --json " + files,
                                           "cut --json --output-dir " + q(dir.path("")) + " --start-frames 1 " + files};
    for (const std::string& run : runs) {
        SCOPED_TRACE(run);
        CliResult r = runcli(run);
        EXPECT_EQ(r.status, 1);
        std::vector<json> v = jsonlines(r.out);
        ASSERT_EQ(v.size(), 2u);
        for (const json& j : v) {
            ASSERT_TRUE(j.contains("file") && j.contains("warnings") && j.contains("error")) << j;
            EXPECT_TRUE(j["warnings"].is_array());
        }
        EXPECT_EQ(v[0]["file"], good);
        EXPECT_TRUE(v[0]["error"].is_null());
        EXPECT_EQ(v[1]["file"], missing);
        EXPECT_EQ(v[1]["error"]["kind"], "not-found");
        EXPECT_EQ(v[1]["error"]["message"], "cannot open " + missing + ": No such file or directory");
        EXPECT_NE(r.err.find("cannot open " + missing + ": No such file or directory"), std::string::npos);
    }
}

TEST(CliReport, FailuresHaveAKindAndTheirRealCause)
{
    TempDir dir;
    const Bytes sample = readbytes(samplepath("tone32-crc.mp3"));
    struct Case {
        std::string path;
        const char* kind;
        std::string cause;
    };
    std::string locked = dir.write("locked.mp3", sample);
    fs::permissions(locked, fs::perms::none);
    std::vector<Case> cases = {
        {dir.path("none.mp3"), "not-found", "No such file or directory"},
        {dir.path("none/x.mp3"), "not-found", "No such file or directory"},
        {dir.path(""), "read-failed", "Is a directory"},
        {dir.write("text.mp3", filler(5000, 'a')), "not-mp3", ""},
        {fixturepath("damaged-middle.mp3"), "damaged", "Improper frame size"},
    };
    // as root a mode of 000 does not stop a read (a source is only read)
    if (::geteuid() != 0)
        cases.push_back({locked, "permission", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CliResult r = runcli("info --json --policy fail " + q(c.path));
        EXPECT_EQ(r.status, 1);
        json j = jsonlines(r.out).at(0);
        EXPECT_EQ(j["error"]["kind"], c.kind);
        EXPECT_NE(j["error"]["message"].get<std::string>().find(c.cause), std::string::npos) << j;
        EXPECT_NE(r.err.find(c.cause), std::string::npos);
    }

    // a cut into a folder that does not exist blames the output, not the input
    CliResult r = runcli("cut " + q(samplepath("tone32-crc.mp3")) + " -o " + q(dir.path("nowhere/x.mp3")) +
                         " --start-frames 1 --json");
    EXPECT_EQ(r.status, 1);
    json j = jsonlines(r.out).at(0);
    EXPECT_EQ(j["error"]["kind"], "write-failed");
    EXPECT_EQ(j["error"]["message"], "cannot create " + dir.path("nowhere/x.mp3") + ": No such file or directory");
    r = runcli("cut " + q(samplepath("tone32-crc.mp3")) + " -o " + q(dir.path("x.mp3")) + " --start-frames 41 --json");
    EXPECT_EQ(jsonlines(r.out).at(0)["error"]["kind"], "nothing-to-save");
    // an output name taken by a folder: the folder stays, nothing is left beside it
    fs::create_directories(dir.path("taken.mp3"));
    r = runcli("cut " + q(samplepath("tone32-crc.mp3")) + " -o " + q(dir.path("taken.mp3")) + " --start-frames 1 --json");
    EXPECT_EQ(jsonlines(r.out).at(0)["error"]["kind"], "write-failed");
    EXPECT_TRUE(fs::is_directory(dir.path("taken.mp3")));
    for (const auto& e : fs::directory_iterator(dir.path("")))
        EXPECT_NE(e.path().extension(), ".part") << e.path();
}

// Bytes of the output, plus everything the report says was left out, plus
// the cut frames, are the whole source.
void expectaccounted(const json& report, std::int64_t sourcesize, std::int64_t cutbytes)
{
    std::int64_t leftout = 0;
    for (const json& l : report["left_out"])
        leftout += l["size"].get<std::int64_t>();
    EXPECT_EQ(report["bytes"].get<std::int64_t>() + leftout + cutbytes, sourcesize) << report;
}

TEST(CliReport, CutSaysWhatItLeftOut)
{
    TempDir dir;
    const std::string tagged = samplepath("tone44-cbr64-tagged.mp3");
    const std::int64_t size = static_cast<std::int64_t>(fs::file_size(tagged));
    CliResult r = runcli("cut --byte-exact " + q(tagged) + " -o " + q(dir.path("a.mp3")) + " --remove-id3v2 --remove-id3v1 --json");
    json j = jsonlines(r.out).at(0);
    EXPECT_EQ(j["left_out"], json::parse(R"([{"what":"id3v2","offset":0,"size":249},)"
                                         R"({"what":"id3v1","offset":)" + std::to_string(size - 128) +
                                         R"(,"size":128}])"));
    expectaccounted(j, size, 0);
    r = runcli("cut --byte-exact " + q(tagged) + " -o " + q(dir.path("b.mp3")) + " --remove-id3v1");
    EXPECT_EQ(r.out, dir.path("b.mp3") + ": 64 frames kept, " + std::to_string(size - 128) + " bytes written, 1.672 seconds\n"
                     "  left out: id3v1, 128 bytes at " + std::to_string(size - 128) + "\n");

    // unknown data after the frames, left out unless included
    const Bytes junk = frames(10, FrameSpec{}) + filler(20, 'y');
    const std::string junkfile = dir.write("junk.mp3", junk);
    j = jsonlines(runcli("cut --byte-exact " + q(junkfile) + " -o " + q(dir.path("c.mp3")) + " --start-frames 1 --json").out).at(0);
    EXPECT_EQ(j["left_out"], json::parse(R"([{"what":"unknown","offset":4170,"size":20}])"));
    expectaccounted(j, static_cast<std::int64_t>(junk.size()), 417);
    j = jsonlines(runcli("cut --byte-exact " + q(junkfile) + " -o " + q(dir.path("d.mp3")) + " --start-frames 1 --include-unknown --json").out).at(0);
    EXPECT_EQ(j["left_out"], json::array());

    // a damaged ID3v1 tag at the end is part of the unknown data before it,
    // which is left out unless included
    Bytes st = frames(4, FrameSpec{}) + id3v1tag();
    st.resize(st.size() - 28);
    j = jsonlines(runcli("cut --byte-exact " + q(dir.write("st.mp3", st)) + " -o " + q(dir.path("e.mp3")) + " --start-frames 1 --json").out).at(0);
    ASSERT_EQ(j["left_out"].size(), 1u) << j;
    EXPECT_EQ(j["left_out"][0], json::parse(R"({"what":"unknown","offset":1668,"size":100})"));
    expectaccounted(j, static_cast<std::int64_t>(st.size()), 417);

    // damage near the end: the attempt policy cuts it off, and says so
    const Bytes tail = frames(2000, FrameSpec{}) + filler(3000, 0x11);
    const std::string tailfile = dir.write("tail.mp3", tail);
    r = runcli("cut --byte-exact " + q(tailfile) + " -o " + q(dir.path("f.mp3")) + " --json");
    EXPECT_EQ(r.status, 0) << r.err;
    j = jsonlines(r.out).at(0);
    EXPECT_EQ(j["left_out"], json::parse(R"([{"what":"damaged-tail","offset":834000,"size":3000}])"));
    EXPECT_EQ(readbytes(dir.path("f.mp3")), frames(2000, FrameSpec{}));
    ASSERT_FALSE(j["warnings"].empty());
    EXPECT_NE(j["warnings"].back().get<std::string>().find("3000 bytes at byte 834000"), std::string::npos);
    r = runcli("cut " + q(tailfile) + " -o " + q(dir.path("g.mp3")) + " --policy fail --json");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(jsonlines(r.out).at(0)["error"]["kind"], "damaged");
    EXPECT_FALSE(fs::exists(dir.path("g.mp3")));
}

TEST(CliReport, ACutOntoItsSourceReportsTheOutputItWrote)
{
    TempDir dir;
    const std::string copy = dir.write("song.mp3", readbytes(samplepath("tone44-cbr64-tagged.mp3")));
    json j = jsonlines(runcli("cut --byte-exact " + q(copy) + " -o " + q(copy) + " --start-frames 2 --end-frames 3 --json").out).at(0);
    EXPECT_EQ(j["frames_kept"], 59);
    EXPECT_EQ(j["bytes"].get<std::int64_t>(), static_cast<std::int64_t>(fs::file_size(copy)));
    EXPECT_NEAR(j["seconds"].get<double>(), 59 * 0.0261224489795918, 1e-9);
    Loader loader;
    ASSERT_TRUE(loader.load(copy));
    EXPECT_EQ(loader.file.framecount, 59);
}

TEST(CliReport, GainsListEveryFrameInFileOrder)
{
    TempDir dir;
    const std::vector<std::uint8_t> gains = {0, 3, 200, 17, 255, 90, 91, 92};
    FrameSpec mono;
    mono.mode = 0xC0;
    for (const FrameSpec& spec : {FrameSpec{}, mono}) {
        std::string file = dir.write("g.mp3", frames(16, spec, gains));
        json j = jsonlines(runcli("info --json --gains " + q(file)).out).at(0);
        ASSERT_EQ(j["gains"].size(), 16u);
        for (std::size_t k = 0; k < 16; ++k)
            EXPECT_EQ(j["gains"][k], gains[k % gains.size()]) << k;
        EXPECT_FALSE(jsonlines(runcli("info --json " + q(file)).out).at(0).contains("gains"));
    }
    // a real encoder's Info frame is the first entry
    json lame = jsonlines(runcli("info --json --gains " + q(samplepath("tone32-crc.mp3"))).out).at(0);
    EXPECT_EQ(lame["gains"].size(), lame["frames"]);
}

}  // namespace
