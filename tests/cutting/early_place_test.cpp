// Where the early copy of a cut puts the run of frames, judged from the
// frames the walk has recorded so far: the place the save's own plan gives
// it once the whole file is known, for byte-for-byte and exact output.
// The walk's view is the load of the file's first frames alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "cutting/early_place.h"
#include "support/harness.h"

using namespace qctest;

namespace {

class BytesOf : public qc::SourceBytes {
public:
    explicit BytesOf(const Bytes& b) : b_(b) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        if (offset < 0 || static_cast<std::size_t>(offset) + n > b_.size())
            return false;
        std::memcpy(buf, b_.data() + offset, n);
        return true;
    }

private:
    const Bytes& b_;
};

// A longer stream from a sample: its frames, then its frames after the
// first (a tag frame in some) again and again, between the tags given.
Bytes longstream(const std::string& sample, const Bytes& head, const Bytes& foot)
{
    const Bytes src = readbytes(samplepath(sample));
    Loader l;
    EXPECT_TRUE(l.load(samplepath(sample)));
    const std::int64_t first = l.file.framepos[0] - 1, second = l.file.framepos[1] - 1;
    const std::int64_t end = first + (l.file.framecount > 0 ? qc::lastframeend(l.file) - l.file.framepos[0] : 0);
    Bytes out = head + Bytes(src.begin() + first, src.begin() + end);
    for (int i = 0; i < 12; ++i)
        out = out + Bytes(src.begin() + second, src.begin() + end);
    return out + foot;
}

// The place the save's plan gives the run, for the whole file.
std::optional<qc::EarlyPlace> planned(const qc::LoadedFile& f, const qc::EarlyCut& cut, qc::SourceBytes& bytes)
{
    const std::int64_t endcut = cut.endcut ? 2 : 0;
    qc::EarlyPlace place;
    if (!cut.exact) {
        auto s = qc::makecopysections(f, cut.keep, cut.startframes, f.framecount - 1 - endcut);
        if (!s)
            return std::nullopt;
        for (std::size_t i = 0; i < s->framesfrom; ++i)
            place.outputfrom += s->plan.pieces[i].size();
        place.sourcefrom = s->plan.pieces[s->framesfrom].from - 1;
        return place;
    }
    qc::ExactResult r = qc::makeexactplan(f, cut.keep, cut.samples, {cut.startframes, endcut}, bytes);
    if (!r.plan)
        return std::nullopt;
    qc::finishexactplan(*r.plan, 0);
    const qc::OutputPlan& out = r.plan->output;
    for (std::size_t i = 0; i < out.pieces.size(); ++i) {
        if (i >= r.plan->audiofrom && out.pieces[i].literal < 0) {
            place.sourcefrom = out.pieces[i].source.from - 1;
            return place;
        }
        place.outputfrom += out.size(out.pieces[i]);
    }
    return std::nullopt;
}

}  // namespace

TEST(EarlyPlace, TheFirstFramesGiveThePlaceTheWholeFilesPlanGives)
{
    struct Stream {
        std::string sample;
        Bytes head, foot;
    };
    const std::vector<Stream> streams = {
        {"tone44-cbr128.mp3", {}, {}},
        {"tone44-cbr64-tagged.mp3", id3v2tag(3000), id3v1tag("foot")},
        {"tone48-vbr-mono.mp3", id3v2tag(70000), {}},
        {"tone32-crc.mp3", {}, id3v1tag()},
    };
    int compared = 0;
    for (const Stream& s : streams) {
        const Bytes whole = longstream(s.sample, s.head, s.foot);
        TempDir dir;
        Loader full;
        ASSERT_TRUE(full.load(dir.write("whole.mp3", whole))) << s.sample;
        BytesOf wholebytes(whole);
        for (const bool exact : {false, true})
            for (const bool keephead : {false, true})
                for (const std::int64_t start : {0, 1, 7, 30}) {
                    qc::EarlyCut cut;
                    cut.exact = exact;
                    cut.keep = {keephead, true, true};
                    cut.startframes = start;
                    cut.endcut = true;
                    if (exact && start == 30) {  // samples in place of frames
                        cut.startframes = 0;
                        cut.samples.start = 30 * 1152 + 500;
                    }
                    const std::optional<qc::EarlyPlace> want = planned(full.file, cut, wholebytes);
                    ASSERT_TRUE(want) << s.sample;
                    // the walk's view: the frames up to 64 past the first kept one
                    const std::int64_t seen = std::min<std::int64_t>(full.file.framecount - 1, start + 2 + 64);
                    const Bytes part(whole.begin(), whole.begin() + full.file.framepos[seen] - 1);
                    Loader walk;
                    ASSERT_TRUE(walk.load(dir.write("part.mp3", part)));
                    BytesOf partbytes(part);
                    const std::optional<qc::EarlyPlace> got = qc::earlyplace(walk.file, cut, partbytes);
                    ASSERT_TRUE(got) << s.sample << " exact " << exact << " start " << start;
                    EXPECT_EQ(got->sourcefrom, want->sourcefrom) << s.sample << " exact " << exact << " start " << start;
                    EXPECT_EQ(got->outputfrom, want->outputfrom) << s.sample << " exact " << exact << " start " << start;
                    ++compared;
                }
    }
    EXPECT_EQ(compared, 64);
}

// A start the walk has not reached has no place yet.
TEST(EarlyPlace, NoPlaceBeforeTheWalkReachesTheStart)
{
    TempDir dir;
    Loader l;
    ASSERT_TRUE(l.load(dir.write("s.mp3", longstream("tone44-cbr128.mp3", {}, {}))));
    qc::EarlyCut cut;
    cut.startframes = l.file.framecount;
    const Bytes none;
    BytesOf bytes(none);
    EXPECT_FALSE(qc::earlyplace(l.file, cut, bytes));
}
