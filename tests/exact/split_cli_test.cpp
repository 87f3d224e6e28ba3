// quillcut-cli split on recordings made at test time with sox and lame:
// where the gaps are found, that the tracks decode one after the other to
// the whole file's decode in ffmpeg and mpg123, cue sheets in and out, the
// tracks' names and tags (read back with TagLib), and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include "exact/exact_media.h"
#include "support/cli_run.h"

namespace qctest {

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

std::string shq(const std::string& s)
{
    return "'" + s + "'";
}

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool havetools()
{
    return run("command -v sox") && run("command -v lame") && run("command -v ffmpeg") && run("command -v mpg123");
}

// A piece of "music": pink noise swelling at a rate, under a tone.
std::string music(const std::string& name, double seconds, double rate, double volume, const std::string& tone)
{
    const std::string s = std::to_string(seconds);
    return "sox -R -n -r 44100 -c 2 a.wav synth " + s + " pinknoise tremolo " + std::to_string(rate) + " 70 vol " +
           std::to_string(volume) + " && sox -R -n -r 44100 -c 2 b.wav synth " + s + " " + tone +
           " vol 0.1 && sox -m a.wav b.wav " + name + ".wav";
}

// A side of six pieces with gaps of 2 s between them: digital silence, white
// noise at about -65 dBFS, hiss at -55, mains hum at -60, digital silence;
// the third piece holds a quiet passage of 0.6 s. The gaps' places in
// samples.
struct Tape {
    std::string mp3;
    std::vector<std::pair<std::int64_t, std::int64_t>> gaps;
    std::int64_t samples = 0;
};

Tape maketape(const TempDir& dir, const std::string& lameoptions, int rate = 44100)
{
    const std::string d = dir.path("");
    const std::string steps[] = {
        music("t1", 6, 3, 0.3, "sine 440 sine 660"),
        music("t2", 5, 5, 0.2, "square 220"),
        music("t3a", 3, 2, 0.3, "sine 200-2000"),
        "sox -R -n -r 44100 -c 2 t3q.wav synth 0.6 pinknoise vol 0.02",
        music("t3b", 3, 2, 0.3, "sine 2000-300"),
        "sox t3a.wav t3q.wav t3b.wav t3.wav",
        music("t4", 5, 4, 0.15, "sawtooth 110"),
        music("t5", 5, 6, 0.25, "pluck C4"),
        music("t6", 5, 3, 0.3, "triangle 330"),
        "sox -R -n -r 44100 -c 2 g1.wav trim 0 2",
        "sox -R -n -r 44100 -c 2 g2.wav synth 2 whitenoise vol 0.001",
        "sox -R -n -r 44100 -c 2 g3.wav synth 2 whitenoise highpass 3000 vol 0.004",
        "sox -R -n -r 44100 -c 2 g4.wav synth 2 sine 50 sine 100 vol 0.0013",
        "sox t1.wav g1.wav t2.wav g2.wav t3.wav g3.wav t4.wav g4.wav t5.wav g1.wav t6.wav tape.wav",
        "lame --quiet " + lameoptions + " tape.wav tape.mp3",
    };
    for (const std::string& s : steps)
        if (!run("cd " + shq(d) + " && " + s))
            return {};
    Tape t;
    t.mp3 = dir.path("tape.mp3");
    const double pieces[] = {6, 5, 6.6, 5, 5, 5};
    double at = 0;
    for (int i = 0; i < 5; ++i) {
        at += pieces[i];
        t.gaps.push_back({static_cast<std::int64_t>(at * rate), static_cast<std::int64_t>((at + 2) * rate)});
        at += 2;
    }
    t.samples = static_cast<std::int64_t>((at + pieces[5]) * rate);
    return t;
}

json splitjson(const std::string& args, int* status = nullptr)
{
    const CliResult r = runcli("split --json " + args);
    if (status != nullptr)
        *status = r.status;
    EXPECT_FALSE(r.out.empty()) << r.err;
    return r.out.empty() ? json() : json::parse(r.out.substr(0, r.out.find('\n')));
}

std::vector<std::string> outputs(const json& j)
{
    std::vector<std::string> v;
    for (const json& t : j["tracks"])
        v.push_back(t["output"]);
    return v;
}

// The tracks decoded one after the other are the whole file's decode:
// exactly in ffmpeg, within 1 LSB in mpg123.
void expectgapless(const std::string& whole, const std::vector<std::string>& tracks, int channels)
{
    for (int decoder = 0; decoder < 2; ++decoder) {
        SCOPED_TRACE(decoder == 0 ? "ffmpeg" : "mpg123");
        auto decode = [&](const std::string& f) { return decoder == 0 ? decodeffmpeg(f, channels) : decodempg123(f, channels); };
        const Pcm all = decode(whole);
        std::vector<std::int16_t> joined;
        for (const std::string& t : tracks) {
            const Pcm p = decode(t);
            joined.insert(joined.end(), p.data.begin(), p.data.end());
        }
        ASSERT_EQ(joined.size(), all.data.size());
        int worst = 0;
        for (std::size_t i = 0; i < joined.size(); ++i)
            worst = std::max(worst, std::abs(joined[i] - all.data[i]));
        EXPECT_LE(worst, decoder == 0 ? 0 : 1);
    }
}

}  // namespace

TEST(SplitCli, GapsOfSilenceNoiseHissAndHumAreFoundAndTheTracksAreGapless)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    // MPEG-1 at 44.1 kHz, and MPEG-2 at 22.05 kHz
    for (int rate : {44100, 22050}) {
        SCOPED_TRACE(rate);
        TempDir dir;
        const Tape tape = maketape(dir, rate == 44100 ? "-V2" : "--resample 22.05 -V4", rate);
        ASSERT_FALSE(tape.mp3.empty());
        const json j = splitjson(shq(tape.mp3) + " --silence --output-dir " + shq(dir.path("tracks")));
        ASSERT_TRUE(j["error"].is_null()) << j.dump();
        const json& tracks = j["tracks"];
        ASSERT_EQ(tracks.size(), 6u) << j.dump();
        EXPECT_EQ(tracks[0]["start_samples"], 0);
        EXPECT_EQ(tracks[5]["end_samples"], tape.samples);
        for (std::size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            // each point inside its gap, and (the quiet passage aside) nowhere else
            const std::int64_t point = tracks[i]["end_samples"];
            EXPECT_GT(point, tape.gaps[i].first);
            EXPECT_LT(point, tape.gaps[i].second);
            EXPECT_EQ(tracks[i + 1]["start_samples"], point);
            EXPECT_TRUE(fs::exists(tracks[i]["output"].get<std::string>()));
        }
        expectgapless(tape.mp3, outputs(j), 2);
    }
    TempDir dir;
    const Tape tape = maketape(dir, "-V2");
    ASSERT_FALSE(tape.mp3.empty());

    // the two surest gaps asked for: three tracks, split at digital silence
    // and the hum, the deepest gaps
    const json three = splitjson(shq(tape.mp3) + " --silence --tracks 3 --dry-run --output-dir " + shq(dir.path("x")));
    ASSERT_EQ(three["tracks"].size(), 3u) << three.dump();
    EXPECT_FALSE(fs::exists(dir.path("x")));  // a dry run writes nothing
}

TEST(SplitCli, ARecordingWithoutGapsIsOneTrackWithAWarningAndMpeg2SplitsGapless)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    TempDir dir;
    const std::string plain = encode(dir, "plain.mp3", 44100, 2, "-V2", 6);
    ASSERT_FALSE(plain.empty());
    const json one = splitjson(shq(plain) + " --silence --output-dir " + shq(dir.path("one")));
    ASSERT_EQ(one["tracks"].size(), 1u);
    ASSERT_EQ(one["warnings"].size(), 1u);
    EXPECT_NE(one["warnings"][0].get<std::string>().find("No gap"), std::string::npos);
    expectgapless(plain, outputs(one), 2);

    // MPEG-2 (22.05 kHz) and MPEG-2.5 (11.025 kHz), every 1.3 s and at given times
    for (int rate : {22050, 11025}) {
        SCOPED_TRACE(rate);
        const std::string lsf = encode(dir, "lsf" + std::to_string(rate) + ".mp3", rate, 1, "-V5", 5);
        ASSERT_FALSE(lsf.empty());
        const json every = splitjson(shq(lsf) + " --every 1.3 --output-dir " + shq(dir.path("e" + std::to_string(rate))));
        ASSERT_TRUE(every["error"].is_null()) << every.dump();
        ASSERT_EQ(every["tracks"].size(), 4u);
        EXPECT_EQ(every["tracks"][1]["start_samples"], static_cast<std::int64_t>(std::nearbyint(1.3 * rate)));
        expectgapless(lsf, outputs(every), 1);
        const json at = splitjson(shq(lsf) + " --at 0:00.5,2.25 --output-dir " + shq(dir.path("a" + std::to_string(rate))));
        ASSERT_EQ(at["tracks"].size(), 3u);
        expectgapless(lsf, outputs(at), 1);
    }
}

TEST(SplitCli, ACueSheetGoesOutAndComesBackToTheSameSplitWithTitlesAndTags)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    TempDir dir;
    ASSERT_TRUE(run("ffmpeg -v error -f lavfi -i color=c=red:s=200x200 -frames:v 1 -y " + shq(dir.path("cover.png"))));
    const std::string source = encode(dir, "album.mp3", 44100, 2, "-V2 --tt Side --ta Band --tl Album --ty 1987 --ti " +
                                                             shq(dir.path("cover.png")) + " --add-id3v2", 8);
    ASSERT_FALSE(source.empty());
    // out: the points of --at, into a cue sheet
    const std::string cue = dir.path("album.cue");
    const json out = splitjson(shq(source) + " --at 1.5,4.25,6 --dry-run --write-cue " + shq(cue) + " --output-dir " +
                               shq(dir.path("out")));
    ASSERT_TRUE(out["error"].is_null()) << out.dump();
    ASSERT_TRUE(fs::exists(cue));

    // back: the same points to the cue sheet's 1/75 s, with its titles
    std::string text;
    {
        std::ifstream in(cue);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t at = text.find("TITLE \"Track 2\"");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 15, "TITLE \"Who? What: A/B\"\n    PERFORMER \"Guest\"");
    {
        std::ofstream o(cue);
        o << text;
    }
    const json back = splitjson(shq(source) + " --cue " + shq(cue) + " --output-dir " + shq(dir.path("back")));
    ASSERT_TRUE(back["error"].is_null()) << back.dump();
    ASSERT_EQ(back["tracks"].size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(back["tracks"][i]["start_samples"].get<double>(), out["tracks"][i]["start_samples"].get<double>(),
                    44100.0 / 150 + 1);
        // in to the sample: a cue frame is 588 samples at 44.1 kHz
        EXPECT_EQ(back["tracks"][i]["start_samples"].get<std::int64_t>() % 588, 0);
    }
    const std::string second = back["tracks"][1]["output"];
    EXPECT_EQ(fs::path(second).filename(), "02 - Who_ What_ A_B.mp3");
    expectgapless(source, outputs(back), 2);

    // the tags: the source's frames with the track's title, number and performer
    TagLib::MPEG::File file(second.c_str(), false);
    ASSERT_TRUE(file.hasID3v2Tag());
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 4u);
    EXPECT_EQ(tag->title().to8Bit(true), "Who? What: A/B");
    EXPECT_EQ(tag->artist().to8Bit(true), "Guest");
    EXPECT_EQ(tag->album().to8Bit(true), "Album");
    EXPECT_EQ(tag->year(), 1987u);
    EXPECT_EQ(tag->frameList("TRCK").front()->toString().to8Bit(), "2/4");
    EXPECT_EQ(tag->frameList("APIC").size(), 1u);
    // lame wrote an ID3v1 tag too: so does each track
    EXPECT_TRUE(file.hasID3v1Tag());
    TagLib::MPEG::File first(back["tracks"][0]["output"].get<std::string>().c_str(), false);
    EXPECT_EQ(first.ID3v2Tag()->title().to8Bit(true), "Track 1");
    EXPECT_EQ(first.ID3v2Tag()->artist().to8Bit(true), "Band");
}

TEST(SplitCli, BadCueSheetsTimesAndExistingTracksAreRefusedWithTheirCause)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    TempDir dir;
    const std::string source = encode(dir, "s.mp3", 44100, 2, "-V2", 4);
    ASSERT_FALSE(source.empty());
    const std::string outdir = " --output-dir " + shq(dir.path("o"));
    struct Bad {
        const char* sheet;
        const char* says;
    };
    const Bad sheets[] = {
        {"FILE \"s.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACKK 02 AUDIO\n", ":4: unknown command"},
        {"FILE \"s.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",
         ":5: the times run backwards"},
        {"FILE \"s.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:61:00\n", ":3: not a time"},
        {"garbage\n", ":1: unknown command"},
    };
    for (const Bad& b : sheets) {
        SCOPED_TRACE(b.sheet);
        std::ofstream(dir.path("bad.cue")) << b.sheet;
        const CliResult r = runcli("split " + shq(source) + " --cue " + shq(dir.path("bad.cue")) + outdir);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(std::string("bad.cue") + b.says), std::string::npos) << r.err;
    }
    // a sheet of another file, and one running past the end: that file's usage failure
    std::ofstream(dir.path("other.cue")) << "FILE \"other.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    int status = 0;
    json j = splitjson(shq(source) + " --cue " + shq(dir.path("other.cue")) + outdir, &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(j["error"]["kind"], "usage");
    EXPECT_NE(j["error"]["message"].get<std::string>().find("other.cue:1: the cue sheet is for \"other.mp3\""),
              std::string::npos);
    std::ofstream(dir.path("long.cue")) << "FILE \"s.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                           "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n";
    j = splitjson(shq(source) + " --cue " + shq(dir.path("long.cue")) + outdir, &status);
    EXPECT_NE(j["error"]["message"].get<std::string>().find("long.cue:5: INDEX 01 01:00:00 lies past the end"),
              std::string::npos)
        << j.dump();
    EXPECT_FALSE(fs::exists(dir.path("o")));

    // times
    CliResult r = runcli("split " + shq(source) + " --at 1:75" + outdir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("\"1:75\" is not a time"), std::string::npos) << r.err;
    j = splitjson(shq(source) + " --at 1,9" + outdir, &status);
    EXPECT_NE(j["error"]["message"].get<std::string>().find("--at 9: past the end"), std::string::npos);

    // a track's name taken: nothing is written without --force, all of it with
    fs::create_directories(dir.path("o"));
    std::ofstream(dir.path("o/02.mp3")) << "mine";
    j = splitjson(shq(source) + " --at 1,2" + outdir, &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(j["error"]["message"].get<std::string>().find("02.mp3: File exists (--force replaces it)"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path("o/01.mp3")));
    EXPECT_EQ(fs::file_size(dir.path("o/02.mp3")), 4u);
    j = splitjson(shq(source) + " --at 1,2 --force" + outdir, &status);
    EXPECT_EQ(status, 0);
    EXPECT_GT(fs::file_size(dir.path("o/02.mp3")), 1000u);
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path("o")))
        EXPECT_EQ(e.path().extension(), ".mp3") << e.path();  // no temporary left
}

TEST(SplitCli, EachSourceIsReportedInOrderAndAFailureStopsOnlyItsOwn)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    TempDir dir;
    const std::string a = encode(dir, "a.mp3", 44100, 2, "-V2", 3);
    const std::string b = encode(dir, "b.mp3", 22050, 1, "-V5", 3);
    ASSERT_FALSE(a.empty() || b.empty());
    const std::string bad = dir.write("bad.mp3", filler(4000, 0x11));
    const CliResult r = runcli("split --json --jobs 2 --every 1 --output-dir " + shq(dir.path("o")) + " " + shq(a) +
                               " " + shq(bad) + " " + shq(b));
    EXPECT_EQ(r.status, 1);
    std::vector<json> lines;
    std::size_t from = 0;
    for (std::size_t nl; (nl = r.out.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(json::parse(r.out.substr(from, nl - from)));
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0]["file"], a);
    EXPECT_EQ(lines[1]["error"]["kind"], "not-mp3");
    EXPECT_TRUE(lines[1]["tracks"].is_null());
    EXPECT_EQ(lines[2]["tracks"].size(), 3u);
    // several sources: each one's tracks in a folder of its name
    EXPECT_EQ(lines[2]["output_dir"], dir.path("o/b"));
    EXPECT_TRUE(fs::exists(dir.path("o/a/03.mp3")));
    EXPECT_FALSE(fs::exists(dir.path("o/bad")));
}

TEST(SplitCli, ByteExactTracksAreTheSourcesFramesAtTheNearestBoundaries)
{
    if (!havetools())
        GTEST_SKIP() << "sox, lame, ffmpeg or mpg123 is not installed";
    TempDir dir;
    const std::string source = encode(dir, "b.mp3", 44100, 2, "-b 128", 4);
    ASSERT_FALSE(source.empty());
    const json j = splitjson(shq(source) + " --byte-exact --at 1,2.5 --output-dir " + shq(dir.path("b")));
    ASSERT_TRUE(j["error"].is_null()) << j.dump();
    ASSERT_EQ(j["tracks"].size(), 3u);
    // the frames of the tracks, joined, are the source's audio frames (its
    // Info frame counts the whole file and goes nowhere)
    const Bytes whole = readbytes(source);
    const std::vector<WalkedFrame> frames = walkframes(whole);
    ASSERT_GT(frames.size(), 2u);
    Bytes audio(whole.begin() + static_cast<std::ptrdiff_t>(frames[1].offset),
                whole.begin() + static_cast<std::ptrdiff_t>(frames.back().offset + frames.back().length));
    Bytes joined;
    for (const std::string& t : outputs(j)) {
        const Bytes b = readbytes(t);
        const std::vector<WalkedFrame> w = walkframes(b);
        ASSERT_FALSE(w.empty());
        joined.insert(joined.end(), b.begin() + static_cast<std::ptrdiff_t>(w.front().offset),
                      b.begin() + static_cast<std::ptrdiff_t>(w.back().offset + w.back().length));
    }
    EXPECT_TRUE(joined == audio);
    const std::int64_t second = j["tracks"][1]["start_samples"];
    EXPECT_NEAR(static_cast<double>(second), 44100.0, 1152.0 / 2 + 1);
}

}  // namespace qctest
