// quillcut-cli and silence detection: what info reports for each method,
// and cut with a method's proposal in place of a given cut.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/harness.h"

namespace {

using namespace qctest;

struct CliResult {
    int status = -1;
    std::string out;
};

CliResult quillcut(const TempDir& dir, const std::string& args)
{
    std::string out = dir.path("out.txt");
    std::string command = std::string("'").append(QC_CLI_PATH) + "' " + args + " >'" + out + "' 2>/dev/null";
    int rc = std::system(command.c_str());
    std::ifstream in(out);
    std::stringstream ss;
    ss << in.rdbuf();
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ss.str()};
}

std::string encoded(const std::string& name)
{
    // Appended rather than prefixed here and above: "'" + std::string makes
    // GCC 12 at -O3 warn falsely (-Wrestrict) about the insertion at the front.
    std::string quoted = "'";
    quoted += fixturepath(std::string("silence/").append(name));
    quoted += "'";
    return quoted;
}

TEST(SilenceCli, InfoReportsEachMethodAtEachEnd)
{
    TempDir dir;
    CliResult r = quillcut(dir, "info --json " + encoded("silence48-vbr-mono.mp3"));
    ASSERT_EQ(r.status, 0);
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["silence"]["start"], nlohmann::json({1, 41, 4}));
    EXPECT_EQ(j["silence"]["end"], nlohmann::json({0, 60, 0}));

    r = quillcut(dir, "info " + encoded("silence44-cbr-stereo.mp3"));
    EXPECT_NE(r.out.find("silence frames by method 1/2/3: start 1/41/4, end 0/60/0"), std::string::npos)
        << r.out;

    // a file that did not load has nothing to report
    std::string bad = dir.write("bad.mp3", filler(3000, 0x11));
    r = quillcut(dir, "info --json '" + bad + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(nlohmann::json::parse(r.out)["silence"].is_null());
}

TEST(SilenceCli, CutWithMethodTwoRemovesTheSilenceAndKeepsTheTone)
{
    struct Case {
        const char* name;
        std::int32_t frames;
        double tonesamples, samplesperframe;
    };
    const Case cases[] = {{"silence44-cbr-stereo.mp3", 217, 3 * 44100, 1152},
                          {"silence48-vbr-mono.mp3", 227, 3 * 48000, 1152}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string out = dir.path("cut.mp3");
        CliResult r = quillcut(dir, "cut --byte-exact " + encoded(c.name) + " -o '" + out + "' --auto-start 2 --auto-end 2 --json");
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(nlohmann::json::parse(r.out)["frames_kept"], c.frames - 41 - 60);

        Loader loader;
        ASSERT_TRUE(loader.load(out));
        const qc::LoadedFile& f = loader.file;
        EXPECT_EQ(f.framecount, c.frames - 41 - 60);
        // no silent frame of the encoder is left, and every frame of the tone is
        for (std::int32_t k = 0; k < f.framecount; ++k)
            ASSERT_NE(f.framegain[k], 210) << k;
        EXPECT_GE(f.framecount * c.samplesperframe, c.tonesamples);
        EXPECT_LT(f.framecount * c.samplesperframe, c.tonesamples + 2 * c.samplesperframe);
    }
}

TEST(SilenceCli, CutOptions)
{
    TempDir dir;
    const std::string in = encoded("silence44-vbr-mono.mp3") + " -o '" + dir.path("x.mp3") + "' ";
    for (const char* args : {"--auto-start 2 --start 1", "--auto-start 2 --start-frames 3",
                             "--auto-end 1 --end 0.5", "--auto-end 3 --end-frames 2", "--auto-start 0",
                             "--auto-end 4", "--auto-start 1 --subtract-start 100",
                             "--auto-start 1 --subtract-start -1", "--subtract-end 3"}) {
        EXPECT_EQ(quillcut(dir, "cut " + in + args).status, 2) << args;
    }
    EXPECT_FALSE(std::ifstream(dir.path("x.mp3")).good());

    // start: 41 - 3; end: method 1 finds nothing, and 0 - 5 stays 0
    CliResult r = quillcut(dir, "cut " + in + "--auto-start 2 --subtract-start 3 --auto-end 1 --subtract-end 5 --json");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(nlohmann::json::parse(r.out)["frames_kept"], 217 - 38);
    r = quillcut(dir, "cut " + in + "--auto-end 2 --start-frames 10 --json");
    EXPECT_EQ(nlohmann::json::parse(r.out)["frames_kept"], 217 - 10 - 60);
}

}  // namespace
