// The walk takes well-formed stretches of frames in one loop and leaves
// everything else to its frame-by-frame steps: on files of every kind of
// damage the two leave the same record, report and progress.
#include <gtest/gtest.h>

#include <random>

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;

namespace {

struct ProgressLog : LoadProgress {
    std::vector<int> positions;
    int walksdone = 0;
    void position(int percent) override { positions.push_back(percent); }
    void walkdone() override { walksdone += 1; }
};

// What a load leaves behind, for comparison.
struct Outcome {
    bool ok = false;
    Cause failure{};
    std::vector<std::int64_t> positions;
    std::vector<std::uint8_t> gains;
    std::vector<std::int64_t> rates;
    std::vector<std::int64_t> facts;
    std::vector<int> progress;
    int walksdone = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome load(const std::string& path, ErrorPolicy policy, bool maps, bool streaks)
{
    LoadedFile f;
    Scanner scanner(f);
    PresetAnswers answers = PresetAnswers::yes();
    ProgressLog log;
    f.sourcename = path;
    f.cutframes[0] = f.cutframes[1] = 0;
    LoadReport r = scanner.scanfile({policy, &answers, &log, streaks, maps});
    Outcome o;
    o.ok = r.ok;
    o.failure = r.error.cause;
    o.positions = f.framepos;
    o.gains = f.framegain;
    o.rates.assign(f.ratecount.begin(), f.ratecount.end());
    o.facts = {f.channelmode, f.footerfound, f.footerpos, f.footerspan, f.betweenstart, f.afterstart,
               f.overrun, f.totalframes, f.includebetween, f.includeafter};
    o.progress = log.positions;
    o.walksdone = log.walksdone;
    return o;
}

// A stream of random runs: frames of varied bitrates, padding, modes and
// CRC words, stray and missing bytes, garbage, free-format and reserved
// headers, a sample-rate change, a tag or a cut-off tail at the end.
Bytes randomstream(std::mt19937& rng)
{
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static constexpr int bitrates[] = {1, 5, 9, 10, 14};
    Bytes out;
    if (pick(4) == 0)
        out = id3v2tag(50 + pick(200));
    const int runs = 2 + pick(12);
    for (int r = 0; r < runs; ++r) {
        FrameSpec s;
        s.bitrateindex = bitrates[pick(5)];
        s.padding = pick(2) == 0;
        s.mode = pick(3) == 0 ? 0xC0 : 0x40;
        s.crc = pick(8) == 0;
        s.gain = static_cast<std::uint8_t>(pick(256));
        std::vector<std::uint8_t> gains(static_cast<std::size_t>(1 + pick(400)));
        for (std::uint8_t& g : gains)
            g = static_cast<std::uint8_t>(pick(256));
        out = out + frames(static_cast<int>(gains.size()), s, gains);
        switch (pick(12)) {
        case 0:
            out = out + filler(static_cast<std::size_t>(1 + pick(3)), 0);
            break;
        case 1:
            out.pop_back();
            break;
        case 2:
            out = out + filler(static_cast<std::size_t>(100 + pick(2000)), static_cast<std::uint8_t>(pick(256)));
            break;
        case 3: {
            FrameSpec odd = s;
            odd.bitrateindex = pick(2) == 0 ? 0 : 15;
            out = out + frame(odd);
            break;
        }
        case 4: {
            FrameSpec other = s;
            other.rate = 0x04;
            out = out + frame(other);
            break;
        }
        default:
            break;
        }
    }
    switch (pick(4)) {
    case 0:
        out = out + id3v1tag();
        break;
    case 1:
        out.resize(out.size() - static_cast<std::size_t>(pick(300)));
        break;
    case 2:
        out = out + id3v1tag() + filler(static_cast<std::size_t>(1 + pick(50)), 'z');
        break;
    default:
        break;
    }
    return out;
}

}  // namespace

// A frame found off its expected place, alone before damage, then a long
// search that lands on a reserved header.
Bytes resyncthendamage()
{
    FrameSpec reserved;
    reserved.bitrateindex = 15;
    return frames(3, FrameSpec{}) + filler(2, 0) + frames(1, FrameSpec{}) + filler(300) + frame(reserved) +
           frames(3, FrameSpec{});
}

TEST(WalkStretches, LeaveTheRecordTheStepsLeaveOnDamagedFilesOfEveryKind)
{
    TempDir dir;
    std::mt19937 rng(20261209);
    int loaded = 0;
    for (int n = 0; n < 151; ++n) {
        const std::string path = dir.write("walk.mp3", n == 0 ? resyncthendamage() : randomstream(rng));
        for (ErrorPolicy policy : {ErrorPolicy::Attempt, ErrorPolicy::Fail}) {
            for (bool maps : {true, false}) {
                SCOPED_TRACE(testing::Message() << "file " << n << (maps ? " map" : " window")
                                                << (policy == ErrorPolicy::Fail ? " fail" : " attempt"));
                const Outcome stepped = load(path, policy, maps, false);
                const Outcome streaked = load(path, policy, maps, true);
                ASSERT_EQ(streaked, stepped);
                loaded += stepped.ok ? 1 : 0;
            }
        }
    }
    // the files are varied enough to load and to fail
    EXPECT_GT(loaded, 100);
    EXPECT_LT(loaded, 584);
}
