// The points and titles of the Tracks window: the tracks between the main
// window's cuts, points added, removed and moved with the titles staying on
// their tracks, points found in the recording, and cue sheets in and out.
#include <gtest/gtest.h>

#include "shell/track_points.h"
#include "splitting/split_times.h"

namespace {

constexpr std::int64_t second = 44100;
constexpr std::int64_t frame = 1152;

std::vector<std::int64_t> starts(const qc::TrackPoints& p)
{
    std::vector<std::int64_t> out;
    for (const qc::Track& t : p.tracks())
        out.push_back(t.start);
    return out;
}

std::vector<std::string> titles(const qc::TrackPoints& p)
{
    std::vector<std::string> out;
    for (const qc::Track& t : p.tracks())
        out.push_back(t.title);
    return out;
}

TEST(TrackPoints, TracksRunBetweenTheCutsAndJoinUp)
{
    qc::TrackPoints p;
    p.setrange(2 * second, 100 * second);
    p.setpoints({50 * second, 30 * second, 1 * second, 30 * second, 120 * second});
    // sorted, once each, only those inside the cuts
    EXPECT_EQ(p.points(), (std::vector<std::int64_t>{30 * second, 50 * second}));
    const std::vector<qc::Track> t = p.tracks();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].start, 2 * second);  // after the start cut
    EXPECT_EQ(t[0].end, 30 * second);
    EXPECT_EQ(t[1].end, t[2].start);
    EXPECT_EQ(t[2].end, 100 * second);  // at the end cut

    // cuts that leave nothing: no track
    p.setrange(10 * second, 10 * second);
    EXPECT_EQ(p.count(), 0);
    EXPECT_TRUE(p.tracks().empty());
    EXPECT_EQ(p.selected(), -1);
}

TEST(TrackPoints, AddRemoveAndMoveKeepTitlesOnTheirTracks)
{
    qc::TrackPoints p;
    p.setrange(0, 100 * second);
    EXPECT_EQ(p.count(), 1);
    p.settitle(0, "Side A");
    ASSERT_TRUE(p.add(40 * second, frame));
    EXPECT_EQ(p.selected(), 1);  // the new second part
    EXPECT_EQ(titles(p), (std::vector<std::string>{"Side A", ""}));
    p.settitle(1, "Two");
    ASSERT_TRUE(p.add(20 * second, frame));
    EXPECT_EQ(titles(p), (std::vector<std::string>{"Side A", "", "Two"}));
    p.settitle(1, "One");
    // too near a point or an end, or outside: refused
    EXPECT_FALSE(p.add(20 * second + frame - 1, frame));
    EXPECT_FALSE(p.add(100 * second - 10, frame));
    EXPECT_FALSE(p.add(200 * second, frame));
    EXPECT_EQ(p.count(), 3);

    // a point moves no further than a frame from its neighbours
    EXPECT_EQ(p.move(1, 50 * second, frame), 40 * second - frame);
    EXPECT_EQ(p.move(2, 0, frame), 40 * second);  // the point before it is at 40 s - 1 frame
    EXPECT_EQ(p.move(2, 60 * second, frame), 60 * second);
    EXPECT_EQ(p.move(1, -5, frame), frame);
    EXPECT_EQ(titles(p), (std::vector<std::string>{"Side A", "One", "Two"}));

    // removing a point joins its track to the one before, which keeps its title
    ASSERT_TRUE(p.remove(2));
    EXPECT_EQ(titles(p), (std::vector<std::string>{"Side A", "One"}));
    EXPECT_EQ(p.selected(), 1);
    EXPECT_FALSE(p.remove(0));  // the first track begins at the cut, not at a point
    // an untitled track takes the title of the one joined to it
    p.settitle(0, "");
    ASSERT_TRUE(p.remove(1));
    EXPECT_EQ(titles(p), std::vector<std::string>{"One"});
}

TEST(TrackPoints, PointsBeyondTheCutsAreKeptAndTheFirstTrackIsTheOneRunningIntoThem)
{
    qc::TrackPoints p;
    p.setrange(0, 100 * second);
    p.setpoints({20 * second, 60 * second});
    p.settitle(0, "A");
    p.settitle(1, "B");
    p.settitle(2, "C");
    p.select(2);
    // a start cut past the first point: the first track is B, from the cut
    p.setrange(30 * second, 100 * second);
    EXPECT_EQ(titles(p), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(starts(p), (std::vector<std::int64_t>{30 * second, 60 * second}));
    EXPECT_EQ(p.selected(), 1);  // held to the tracks there are
    // and the point comes back when the cut does
    p.setrange(0, 100 * second);
    EXPECT_EQ(titles(p), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(p.trackat(59 * second), 1);
    EXPECT_EQ(p.trackat(60 * second), 2);

    // points found anew: the tracks keep their titles by number
    p.setpoints({10 * second, 50 * second, 80 * second});
    EXPECT_EQ(titles(p), (std::vector<std::string>{"A", "B", "C", ""}));
}

TEST(TrackPoints, CueSheetsInAndOut)
{
    qc::CueSheet sheet;
    sheet.file = "tape.mp3";
    sheet.title = "Album";
    sheet.performer = "Band";
    // the first track's INDEX 01 after the start: what comes before it is its own
    sheet.tracks = {{"Intro", "", 75, 4}, {"Song", "Singer", 30 * 75 + 37, 7}, {"Outro", "", 90 * 75, 10}};
    qc::TrackPoints p;
    p.setrange(0, 100 * second);
    p.setcue(sheet, 44100);
    EXPECT_EQ(p.album, "Album");
    EXPECT_EQ(p.performer, "Band");
    EXPECT_EQ(titles(p), (std::vector<std::string>{"Intro", "Song", "Outro"}));
    EXPECT_EQ(starts(p), (std::vector<std::int64_t>{0, qc::cueframestosamples(30 * 75 + 37, 44100), 90 * second}));
    EXPECT_EQ(p.tracks()[1].performer, "Singer");

    // out: the tracks as they are, the first one at the start cut
    p.setrange(2 * second, 100 * second);
    const qc::CueSheet out = p.cuesheet("tape.mp3", 44100);
    EXPECT_EQ(out.file, "tape.mp3");
    EXPECT_EQ(out.title, "Album");
    ASSERT_EQ(out.tracks.size(), 3u);
    EXPECT_EQ(out.tracks[0].index, 150);
    EXPECT_EQ(out.tracks[1].index, 30 * 75 + 37);
    EXPECT_EQ(out.tracks[1].title, "Song");
    EXPECT_EQ(out.tracks[1].performer, "Singer");

    // and back: the same tracks, to the cue sheet's 1/75 s
    qc::TrackPoints back;
    back.setrange(2 * second, 100 * second);
    back.setcue(out, 44100);
    EXPECT_EQ(starts(back), starts(p));
    EXPECT_EQ(titles(back), titles(p));
}

}  // namespace
