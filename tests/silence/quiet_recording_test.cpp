// The quiet-part detector on a recording made at test time: sox makes
// "speech" (pink noise modulated at a syllable rate) with room tone (pink
// noise at -54 dBFS) before, between and after it, lame encodes it at -V5
// and at 64 kbps. The methods find only the Info frame; the quiet parts are
// the room tone. Skipped without sox or lame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <span>

#include "silence/methods.h"
#include "silence/quiet_parts.h"
#include "support/harness.h"

namespace {

bool have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(QuietRecording, TheRoomToneIsFoundAndTheSpeechIsNot)
{
    if (!have("sox") || !have("lame"))
        GTEST_SKIP() << "sox or lame is not installed";
    qctest::TempDir dir;
    const std::string d = dir.path("");
    ASSERT_TRUE(run("sox -n -r 44100 -c 1 " + d + "sp.wav synth 8 pinknoise tremolo 4 100 tremolo 0.6 90 vol 0.3"));
    ASSERT_TRUE(run("sox -n -r 44100 -c 1 " + d + "rt.wav synth 3 pinknoise vol 0.002"));
    ASSERT_TRUE(run("sox -n -r 44100 -c 1 " + d + "rt2.wav synth 1.5 pinknoise vol 0.002"));
    ASSERT_TRUE(run("cd " + d + " && sox rt2.wav sp.wav rt.wav sp.wav rt.wav sp.wav rt2.wav pod.wav"));
    // the room tone's frames: 1.5 s, then after 8 s of speech 3 s, and so on
    const double spf = 1152.0 / 44100;
    auto frameat = [&](double seconds) { return static_cast<std::int64_t>(seconds / spf) + 1; };  // + the Info frame
    const std::pair<double, double> room[] = {{0, 1.5}, {9.5, 12.5}, {20.5, 23.5}, {31.5, 33}};
    for (const char* options : {"-V5", "-b 64"}) {
        SCOPED_TRACE(options);
        ASSERT_TRUE(run("cd " + d + " && lame --quiet " + options + " pod.wav pod.mp3"));
        qctest::Loader l;
        ASSERT_TRUE(l.load(d + "pod.mp3"));
        const std::span<const std::uint8_t> gains(l.file.framegain);
        EXPECT_LE(qc::autodetected(l.file, 0, 1), 1);  // method 1: the Info frame at most

        const std::vector<qc::QuietPart> parts = qc::quietparts(gains);
        ASSERT_EQ(parts.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            // within about a quarter of a second of the room tone's ends
            EXPECT_NEAR(parts[i].first, i == 0 ? 0 : frameat(room[i].first), 10);
            EXPECT_NEAR(parts[i].last, i == 3 ? l.file.framecount - 1 : frameat(room[i].second), 10);
            EXPECT_GE(parts[i].quietest, i == 0 ? 0 : frameat(room[i].first));  // (the Info frame is silent too)
            EXPECT_LE(parts[i].quietest, frameat(room[i].second));
        }
        EXPECT_NEAR(qc::quietedge(gains, 0), frameat(1.5), 10);
        EXPECT_NEAR(qc::quietedge(gains, 1), l.file.framecount - frameat(31.5), 10);
    }
}
