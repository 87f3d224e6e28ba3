#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_run.h"
#include "support/harness.h"
#include "ui/info_form.h"

using namespace qctest;
using json = nlohmann::json;

namespace {
std::vector<json> lines(const std::string& out)
{
    std::vector<json> v;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            v.push_back(json::parse(line));
    return v;
}
}  // namespace

TEST(InfoCli, JsonDescribesRealEncoderOutput)
{
    CliResult r = runcli("info --json '" + samplepath("tone44-cbr64-tagged.mp3") + "' '" +
                         samplepath("tone32-crc.mp3") + "' '" + fixturepath("riff-wrapped.mp3") +
                         "' '" + fixturepath("id3v24-vbr-mono.mp3") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<json> v = lines(r.out);
    ASSERT_EQ(v.size(), 4u);
    const json& tagged = v[0];
    EXPECT_EQ(tagged["frames"], 64);
    EXPECT_EQ(tagged["first_frame"], 249);
    EXPECT_EQ(tagged["sample_rate"], 44100);
    EXPECT_EQ(tagged["channel_mode"], "joint stereo");
    EXPECT_EQ(tagged["bitrate_frames"], json({{"64", 64}}));
    EXPECT_EQ(tagged["id3v2"], json({{"offset", 0}, {"size", 249}}));
    EXPECT_EQ(tagged["id3v1"], json({{"offset", 13750 - 128}, {"damaged", false}}));
    EXPECT_EQ(tagged["info"], "44.1 KHz, 64 kbps, 1.672, joint stereo");
    EXPECT_TRUE(tagged["error"].is_null());
    EXPECT_EQ(v[1]["sample_rate"], 32000);
    EXPECT_EQ(v[1]["frames"], 41);
    EXPECT_EQ(v[2]["riff"], json({{"offset", 0}, {"size", 104}}));
    EXPECT_EQ(v[2]["frames"], 40);
    EXPECT_EQ(v[3]["sample_rate"], 48000);
    EXPECT_EQ(v[3]["channel_mode"], "mono");
    EXPECT_EQ(v[3]["frames"], 80);
    EXPECT_EQ(v[3]["id3v2"]["size"], 307);
}

TEST(InfoCli, DamageAndUnknownDataFollowThePolicyAndTheIncludeChoice)
{
    TempDir dir;
    std::string damaged = fixturepath("damaged-middle.mp3");
    CliResult attempt = runcli("info --json '" + damaged + "'");
    EXPECT_EQ(attempt.status, 0);
    EXPECT_EQ(lines(attempt.out)[0]["frames"], 64);

    CliResult fail = runcli("info --json --policy fail '" + damaged + "'");
    EXPECT_EQ(fail.status, 1);
    json f = lines(fail.out)[0];
    EXPECT_EQ(f["error"]["window"], "Improper frame size");
    EXPECT_TRUE(f["frames"].is_null());
    EXPECT_NE(fail.err.find("Improper frame size"), std::string::npos);

    std::string junk = dir.write("junk.mp3", frames(4, FrameSpec{}) + filler(20, 'y'));
    json left = lines(runcli("info --json '" + junk + "'").out)[0];
    ASSERT_EQ(left["unknown"].size(), 1u);
    EXPECT_EQ(left["unknown"][0], json({{"where", "between"}, {"offset", 4 * 417}, {"size", 20},
                                        {"included", false}}));
    json kept = lines(runcli("info --json --include-unknown '" + junk + "'").out)[0];
    EXPECT_EQ(kept["unknown"][0]["included"], true);

    Bytes st = frames(4, FrameSpec{}) + id3v1tag();
    st.resize(st.size() - 28);
    json damagedtag = lines(runcli("info --json '" + dir.write("st.mp3", st) + "'").out)[0];
    EXPECT_EQ(damagedtag["id3v1"]["damaged"], true);
    ASSERT_EQ(damagedtag["warnings"].size(), 1u);
    EXPECT_EQ(damagedtag["warnings"][0],
              "Damaged footer (ID3v1) tag!\r\nIt will not be written to output file.");
}

TEST(InfoCli, TextOutputAndUsageErrors)
{
    CliResult r = runcli("info '" + samplepath("tone48-vbr-mono.mp3") + "' /nonexistent/x.mp3");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("  32 kbps frames:76"), std::string::npos);
    EXPECT_NE(r.out.find("48 KHz, var.kbps, 1.92, mono"), std::string::npos);
    EXPECT_NE(r.out.find("Disk or unknown error."), std::string::npos);
    EXPECT_NE(r.err.find("/nonexistent/x.mp3"), std::string::npos);
    EXPECT_EQ(runcli("info --policy sometimes x.mp3").status, 2);
    EXPECT_EQ(runcli("").status, 2);
}

TEST(InfoCli, VersionIsTheInfoWindowsAndNeedsNoVerb)
{
    CliResult r = runcli("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("quillcut-cli ") + ui::programversion() + "\n");
    // the version is the build's, "major.minor.patch"
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '.'), 2) << r.out;
    EXPECT_NE(runcli("--help").out.find("--version"), std::string::npos);
}
