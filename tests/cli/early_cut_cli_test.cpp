// A cut of a large file copies its frames while the load still walks it;
// the output and the report are those of the cut without that copy,
// whatever the copy guessed (QUILLCUT_NO_EARLY_COPY turns it off).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/cli_run.h"
#include "support/harness.h"

using namespace qctest;
namespace fs = std::filesystem;

namespace {

std::string q(const std::string& s)
{
    return "'" + s + "'";
}

struct Cut {
    Bytes output;
    CliResult run;
};

Cut cutwith(const std::string& source, const std::string& output, const std::string& args, bool early)
{
    Cut c;
    if (!early)
        ::setenv("QUILLCUT_NO_EARLY_COPY", "1", 1);
    const std::string to = output == source ? "--in-place" : "-o " + q(output);
    c.run = runcli("cut " + q(source) + " " + to + " " + args + " --json");
    ::unsetenv("QUILLCUT_NO_EARLY_COPY");
    c.output = readbytes(output);
    return c;
}

}  // namespace

TEST(EarlyCut, OutputsAndReportsAreThoseOfTheCutWithoutTheEarlyCopy)
{
    TempDir dir;
    FrameSpec rate128;
    FrameSpec rate160;
    rate160.bitrateindex = 10;
    // Over 16 MiB, where the load's map is kept and the early copy runs:
    // plain frames between tags; a rate change half-way (the exact tag
    // frame's rate is guessed from the first frames); damage in the
    // middle, which the load skips; a large ID3v2 tag, itself a long piece.
    const std::vector<std::pair<std::string, Bytes>> streams = {
        {"tagged", id3v2tag(3000) + frames(41000, rate128) + id3v1tag("early")},
        {"ratechange", frames(21000, rate128) + frames(20000, rate160)},
        {"damaged", frames(20000, rate128) + filler(20, 'y') + frames(21000, rate128) + id3v1tag()},
        {"bigtag", id3v2tag(200000) + frames(41000, rate128)},
    };
    const std::vector<std::string> cuts = {
        "--start-frames 1 --end-frames 1",
        "--start-frames 1 --end-frames 1 --byte-exact",
        "--start 2.5 --end 300 --remove-id3v2 --byte-exact",
        "--start-samples 3000 --end-samples 100 --remove-id3v1",
        "--start-frames 40 --end 1",
    };
    for (const auto& [name, bytes] : streams) {
        const std::string source = dir.write(name + ".mp3", bytes);
        ASSERT_GE(bytes.size(), std::size_t{16} << 20);
        for (const std::string& args : cuts) {
            const std::string output = dir.path(name + "-out.mp3");
            const Cut late = cutwith(source, output, args, false);
            fs::remove(output);
            const Cut early = cutwith(source, output, args, true);
            fs::remove(output);
            EXPECT_EQ(early.run.status, late.run.status) << name << ": " << args;
            EXPECT_EQ(early.run.out, late.run.out) << name << ": " << args;
            EXPECT_FALSE(late.output.empty()) << name << ": " << args << late.run.err;
            EXPECT_TRUE(early.output == late.output) << name << ": " << args;
        }
        // over an existing output, which the staged file replaces
        const std::string output = dir.write(name + "-old.mp3", frames(10, rate128));
        const Cut over = cutwith(source, output, cuts[0], true);
        EXPECT_EQ(over.run.status, 0) << over.run.err;
        fs::remove(output);
        const Cut fresh = cutwith(source, output, cuts[0], false);
        EXPECT_TRUE(over.output == fresh.output) << name;
        fs::remove(output);
        // in place, through the writer's temporary file beside the source
        for (const std::string& args : {cuts[0], cuts[2]}) {
            const std::string a = dir.write(name + "-a.mp3", bytes), b = dir.write(name + "-b.mp3", bytes);
            const Cut early = cutwith(a, a, args, true);
            const Cut late = cutwith(b, b, args, false);
            EXPECT_EQ(early.run.status, 0) << name << ": " << args << early.run.err;
            EXPECT_TRUE(early.output == late.output) << name << " in place: " << args;
            EXPECT_FALSE(early.output == bytes) << name << " in place: " << args << " left the file as it was";
            fs::remove(a);
            fs::remove(b);
        }
        fs::remove(source);
    }
    for (const auto& entry : fs::directory_iterator(dir.path("")))
        EXPECT_EQ(entry.path().extension(), ".mp3") << entry.path() << " left behind";
}
