// Exact output, decoded: every cut of a file made with lame must decode in
// ffmpeg and in mpg123 to exactly the slice of the source's own decode that
// the cut keeps, and its tag frame must describe it (counts, TOC, CRCs).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "exact/exact_media.h"
#include "support/cli_run.h"

namespace qctest {

namespace {

std::string shq(const std::string& s)
{
    return "'" + s + "'";
}

struct Source {
    std::string path;
    int channels = 2;
    bool vbri = false;  // mpg123 plays the VBRI frame as a frame of silence
};

// A cut: frames (the loaded file's frames, a tag frame included) or samples.
struct Cut {
    bool samples = false;
    std::int64_t start = 0, end = 0;
};

std::string cutargs(const Cut& c)
{
    const char* s = c.samples ? " --start-samples " : " --start-frames ";
    const char* e = c.samples ? " --end-samples " : " --end-frames ";
    return s + std::to_string(c.start) + e + std::to_string(c.end);
}

// What the source's tag frame says, read the test's own way.
struct SourceFacts {
    std::size_t frames = 0;  // as loaded
    bool tagframe = false, gapless = false;
    int delay = 0;
    int spf = 1152;  // samples a frame
};

SourceFacts sourcefacts(const Source& s)
{
    Bytes bytes = readbytes(s.path);
    std::vector<WalkedFrame> frames = walkframes(bytes);
    SourceFacts f;
    f.frames = frames.size();
    if (frames.empty())
        return f;
    f.spf = frames[0].samples;
    std::optional<ReadTag> tag = readtag(bytes, frames[0]);
    f.tagframe = tag.has_value() || s.vbri;
    if (tag && tag->encoder.compare(0, 4, "LAME") == 0) {
        f.gapless = true;
        f.delay = tag->delay;
    }
    return f;
}

// The kept stretch [s0, s1) of a timeline of S samples.
std::pair<std::int64_t, std::int64_t> keptsamples(const SourceFacts& f, const Cut& c, std::int64_t S)
{
    if (c.samples)
        return {c.start, S - c.end};
    const std::int64_t t = f.tagframe ? 1 : 0;
    const std::int64_t base = f.gapless ? f.delay + 529 : 0;
    const std::int64_t a0 = std::max<std::int64_t>(0, c.start - t);
    const std::int64_t a1 = static_cast<std::int64_t>(f.frames) - c.end - t;
    std::int64_t s0 = a0 == 0 ? 0 : std::clamp<std::int64_t>(f.spf * a0 - base, 0, S);
    std::int64_t s1 = c.end == 0 ? S : std::clamp<std::int64_t>(f.spf * a1 - base, 0, S);
    return {s0, s1};
}

// The output's tag frame against the output itself.
void checkheaders(const std::string& out, const nlohmann::json& report)
{
    Bytes bytes = readbytes(out);
    std::vector<WalkedFrame> frames = walkframes(bytes);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames.back().offset + frames.back().length,
              bytes.size() - ((bytes.size() >= 128 && std::memcmp(&bytes[bytes.size() - 128], "TAG", 3) == 0) ? 128 : 0))
        << "a frame does not parse";
    std::optional<ReadTag> tag = readtag(bytes, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->flags, 0x0Fu);
    EXPECT_EQ(tag->frames, frames.size() - 1);
    std::size_t first = frames[0].offset;
    std::size_t total = frames.back().offset + frames.back().length - first;
    EXPECT_EQ(tag->bytes, total);
    EXPECT_EQ(tag->musiclength, total);
    // what follows the frames (an ID3v1 tag) within 1/16 of them, or ffmpeg
    // takes the file for a concatenation and ignores the counts
    EXPECT_LE(bytes.size() - first - total, total / 16);
    EXPECT_EQ(report["exact"]["frames_written"], frames.size());
    for (int i = 0; i < 100; ++i) {
        std::size_t k = static_cast<std::size_t>(i) * tag->frames / 100;
        std::uint64_t v = 256u * (frames[k + 1].offset - first) / total;
        ASSERT_EQ(tag->toc[i], std::min<std::uint64_t>(255, v)) << "TOC entry " << i;
    }
    EXPECT_EQ(tag->musiccrc, bitcrc(&bytes[frames[1].offset], total - frames[0].length));
    EXPECT_EQ(tag->tagcrc, bitcrc(&bytes[first], tag->idoffset + 154));
    EXPECT_EQ(tag->delay, report["exact"]["delay"]);
    EXPECT_EQ(std::int64_t{tag->frames} * frames[0].samples - tag->delay - tag->padding, report["exact"]["samples"]);
    for (const WalkedFrame& w : frames)
        ASSERT_EQ(w.lsf, frames[0].lsf) << "an output frame of another version";
}

struct Tally {
    int cuts = 0, ffmpeg = 0, mpg123 = 0, mpg123near = 0;
};

// The largest difference of two decodes of the same length.
int maxdifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b)
{
    if (a.size() != b.size())
        return 65536;
    int d = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        d = std::max(d, std::abs(int{a[i]} - int{b[i]}));
    return d;
}

// Cuts the source every way in cuts and compares each decode, counting
// into tally. mpg123 may differ by mpg123lsb where its gapless start allows
// no better (see the LSF matrix).
void checkcuts(const Source& s, const std::vector<Cut>& cuts, const std::string& label, Tally& tally,
               int mpg123lsb = 0)
{
    ASSERT_FALSE(s.path.empty()) << "sox or lame failed";
    TempDir dir;
    SourceFacts facts = sourcefacts(s);
    ASSERT_GT(facts.frames, 40u);
    const Pcm srcff = decodeffmpeg(s.path, s.channels);
    const Pcm srcmp = decodempg123(s.path, s.channels);
    ASSERT_GT(srcff.frames(), 0);
    const std::int64_t vbriskip = s.vbri ? facts.spf : 0;
    Tally mine;
    for (const Cut& c : cuts) {
        SCOPED_TRACE(label + cutargs(c));
        std::string out = dir.path("out.mp3");
        CliResult r = runcli("cut " + shq(s.path) + " -o " + shq(out) + cutargs(c) + " --json");
        ASSERT_EQ(r.status, 0) << r.err;
        nlohmann::json report = nlohmann::json::parse(r.out);
        checkheaders(out, report);
        ++mine.cuts;

        auto [f0, f1] = keptsamples(facts, c, srcff.frames());
        EXPECT_EQ(report["exact"]["samples"], f1 - f0);
        Pcm outff = decodeffmpeg(out, s.channels);
        bool ffok = outff.data == srcff.slice(f0, f1);
        EXPECT_TRUE(ffok) << "ffmpeg: " << outff.frames() << " samples, want " << f1 - f0;
        mine.ffmpeg += ffok;

        auto [m0, m1] = keptsamples(facts, c, srcmp.frames() - vbriskip);
        Pcm outmp = decodempg123(out, s.channels);
        const int d = maxdifference(outmp.data, srcmp.slice(m0 + vbriskip, m1 + vbriskip));
        EXPECT_LE(d, mpg123lsb) << "mpg123: " << outmp.frames() << " samples, want " << m1 - m0;
        mine.mpg123 += d == 0;
        mine.mpg123near += d > 0 && d <= mpg123lsb;
    }
    std::printf("exact cuts of %s: ffmpeg %d/%d, mpg123 %d/%d exact, %d within %d LSB\n", label.c_str(),
                mine.ffmpeg, mine.cuts, mine.mpg123, mine.cuts, mine.mpg123near, mpg123lsb);
    tally.cuts += mine.cuts;
    tally.ffmpeg += mine.ffmpeg;
    tally.mpg123 += mine.mpg123;
    tally.mpg123near += mine.mpg123near;
}

void checkcuts(const Source& s, const std::vector<Cut>& cuts, const std::string& label)
{
    Tally tally;
    checkcuts(s, cuts, label, tally);
}

// The cuts every file gets: at frame boundaries and at samples, at one
// end and both, near the ends, and down to one frame.
std::vector<Cut> standardcuts(std::size_t frames)
{
    std::int64_t n = static_cast<std::int64_t>(frames);
    return {{false, 1, 0},       {false, 5, 0},          {false, 0, 7},        {false, 13, 17},
            {false, 2, 2},       {false, 10, n - 11},    {true, 5000, 7000},   {true, 1, 1},
            {true, 1152 * 8 + 3, 0}, {true, 0, 2000},    {true, 30000, 1152 * 20}};
}

void run(const Source& s, const std::string& label)
{
    ASSERT_FALSE(s.path.empty()) << "sox or lame failed";
    checkcuts(s, standardcuts(walkframes(readbytes(s.path)).size()), label);
}

}  // namespace

TEST(ExactDecode, ConstantBitratesStereo)
{
    TempDir dir;
    run({encode(dir, "c64.mp3", 48000, 2, "-b 64")}, "CBR 64 stereo 48 kHz");
    run({encode(dir, "c128.mp3", 44100, 2, "-b 128")}, "CBR 128 stereo 44.1 kHz");
    run({encode(dir, "c320.mp3", 44100, 2, "-b 320")}, "CBR 320 stereo 44.1 kHz");
}

TEST(ExactDecode, ConstantBitratesMonoAndCrcProtected)
{
    TempDir dir;
    run({encode(dir, "c32m.mp3", 32000, 1, "-b 32 -m m"), 1}, "CBR 32 mono 32 kHz");
    run({encode(dir, "c192p.mp3", 48000, 2, "-b 192 -p")}, "CBR 192 stereo 48 kHz with CRC");
    run({encode(dir, "c64mp.mp3", 44100, 1, "-b 64 -m m -p"), 1}, "CBR 64 mono 44.1 kHz with CRC");
}

TEST(ExactDecode, VariableBitrates)
{
    TempDir dir;
    run({encode(dir, "v2.mp3", 44100, 2, "-V2")}, "VBR -V2 stereo 44.1 kHz");
    run({encode(dir, "v5m.mp3", 32000, 1, "-V5 -m m"), 1}, "VBR -V5 mono 32 kHz");
    run({encode(dir, "v9.mp3", 48000, 2, "-V9")}, "VBR -V9 stereo 48 kHz");
}

TEST(ExactDecode, UntaggedStreamsGetATagFrame)
{
    TempDir dir;
    run({encode(dir, "t128.mp3", 44100, 2, "-t -b 128")}, "untagged CBR 128 stereo");
    run({encode(dir, "t32m.mp3", 44100, 1, "-t -b 32 -m m"), 1}, "untagged CBR 32 mono");
    run({encode(dir, "tv5.mp3", 48000, 2, "-t -V5")}, "untagged VBR -V5 stereo");
}

TEST(ExactDecode, Id3TaggedFiles)
{
    TempDir dir;
    run({encode(dir, "id3v2.mp3", 44100, 2, "-V4 --id3v2-only --tt Title --ta Artist")}, "ID3v2-tagged -V4");
    run({encode(dir, "id3v1.mp3", 44100, 2, "-b 160 --id3v1-only --tt Title --ta Artist")}, "ID3v1-tagged CBR 160");
}

// A Fraunhofer-style first frame: silence with a VBRI header at 36, in
// front of an untagged lame stream.
TEST(ExactDecode, VbriFrameIsReplacedByATagFrame)
{
    TempDir dir;
    std::string plain = encode(dir, "plain.mp3", 44100, 2, "-t -V3");
    ASSERT_FALSE(plain.empty());
    Bytes stream = readbytes(plain);
    std::vector<WalkedFrame> frames = walkframes(stream);
    ASSERT_FALSE(frames.empty());
    Bytes vbri(417, 0);
    vbri[0] = 0xFF;
    vbri[1] = 0xFB;
    vbri[2] = 0x90;
    vbri[3] = stream[frames[0].offset + 3];
    const std::uint32_t bytes = static_cast<std::uint32_t>(stream.size() + vbri.size());
    const std::uint32_t count = static_cast<std::uint32_t>(frames.size() + 1);
    const std::uint8_t header[26] = {'V', 'B', 'R', 'I', 0, 1, 0, 0, 0, 75,
                                     static_cast<std::uint8_t>(bytes >> 24), static_cast<std::uint8_t>(bytes >> 16),
                                     static_cast<std::uint8_t>(bytes >> 8), static_cast<std::uint8_t>(bytes),
                                     static_cast<std::uint8_t>(count >> 24), static_cast<std::uint8_t>(count >> 16),
                                     static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count),
                                     0, 0, 0, 1, 0, 2, 0, 1};
    std::memcpy(&vbri[36], header, sizeof header);
    checkcuts({dir.write("vbri.mp3", vbri + stream), 2, true}, standardcuts(frames.size() + 1), "VBRI first frame");
}

// mpg123 decodes a CRC-protected frame whose reservoir bytes are missing so
// that the frames after it lack theirs too: a cut must never begin with one.
// Every start over a stretch of a 64 kbps mono stream (whose frames reach
// up to four frames back), and sample cuts at both ends of a 128 kbps
// stereo one.
TEST(ExactDecode, CrcProtectedStreamsAreExactInMpg123)
{
    TempDir dir;
    std::vector<Cut> starts;
    for (std::int64_t k = 20; k < 60; ++k)
        starts.push_back({false, k, 48});
    checkcuts({encode(dir, "p64m.mp3", 44100, 1, "-b 64 -m m -p", 6.0), 1}, starts, "CBR 64 mono with CRC");
    std::vector<Cut> samples;
    for (std::int64_t s = 3001; s < 60000; s += 2887)
        samples.push_back({true, s, s * 2 / 3 + 17});
    checkcuts({encode(dir, "p128.mp3", 44100, 2, "-b 128 -p", 6.0)}, samples, "CBR 128 stereo with CRC");
}

// The MPEG-2 and MPEG-2.5 matrix, sampled rather than taken whole: each
// of the six rates appears twice, once mono and once stereo; the bitrate
// modes (CBR from 8 to 160 kbps, -V2, -V5, -V9), CRC protection, untagged
// streams and ID3 tags are spread over them so that each appears at two
// or more rates and in both channel modes where it can. Each file gets a
// share of the cut list (frames and samples, at one end and both, one
// frame kept), every cut kind at two files or more.
struct LsfFile {
    const char* name;
    int rate, channels;
    const char* options;
};

constexpr LsfFile lsfmatrix[] = {
    {"m22s-c64.mp3", 22050, 2, "-b 64"},
    {"m22m-v2.mp3", 22050, 1, "-V2 -m m"},
    {"m24s-v5p.mp3", 24000, 2, "-V5 -p"},
    {"m24m-c8.mp3", 24000, 1, "-b 8 -m m"},
    {"m16s-c160t.mp3", 16000, 2, "-t -b 160"},
    {"m16m-v9id3.mp3", 16000, 1, "-V9 -m m --add-id3v2 --tt Title --ta Artist"},
    {"m11s-v2t.mp3", 11025, 2, "-t -V2"},
    {"m11m-c32p.mp3", 11025, 1, "-b 32 -m m -p"},
    {"m12s-c24id3.mp3", 12000, 2, "-b 24 --add-id3v2 --tt Title --ta Artist"},
    {"m12m-v5t.mp3", 12000, 1, "-t -V5 -m m"},
    {"m8s-v9p.mp3", 8000, 2, "-V9 -p"},
    {"m8m-c16.mp3", 8000, 1, "-b 16 -m m"},
};

std::vector<Cut> lsfcuts(std::size_t frames, int which)
{
    const std::int64_t n = static_cast<std::int64_t>(frames);
    const std::vector<Cut> all = {
        {false, 1, 0},  {false, 5, 0},        {false, 0, 7},          {false, 13, 17},
        {false, 2, 2},  {false, 10, n - 11},  {true, 3000, 4000},      {true, 1, 1},
        {true, 576 * 8 + 3, 0}, {true, 0, 2000}, {true, 7000, 576 * 9}, {false, n - 1, 0},
    };
    // six of the twelve, a different six for each file
    std::vector<Cut> some;
    for (std::size_t k = 0; k < all.size(); ++k)
        if ((k + static_cast<std::size_t>(which)) % 2 == 0 || k % 6 == static_cast<std::size_t>(which) % 6)
            some.push_back(all[k]);
    return some;
}

TEST(ExactDecode, LowSamplingFrequencyMatrix)
{
    TempDir dir;
    Tally tally;
    int which = 0;
    for (const LsfFile& m : lsfmatrix) {
        std::string path = encode(dir, m.name, m.rate, m.channels, m.options, 5.0);
        ASSERT_FALSE(path.empty()) << m.name;
        std::vector<WalkedFrame> frames = walkframes(readbytes(path));
        ASSERT_FALSE(frames.empty()) << m.name;
        ASSERT_TRUE(frames[0].lsf) << m.name << ": lame wrote MPEG-1";
        checkcuts({path, m.channels}, lsfcuts(frames.size(), which++), m.name, tally, 1);
    }
    std::printf("LSF matrix: %d cuts; ffmpeg %d exact; mpg123 %d exact, %d within 1 LSB\n", tally.cuts,
                tally.ffmpeg, tally.mpg123, tally.mpg123near);
}

}  // namespace qctest
