// The splitting room's pure parts: typed times, the tracks between points,
// cue sheets read and written, and the tracks' file names.
#include <gtest/gtest.h>

#include "splitting/cue_sheet.h"
#include "splitting/split_points.h"
#include "splitting/split_times.h"
#include "splitting/track_writer.h"

namespace {

TEST(SplitTimes, TypedTimesAreSecondsOrClockTimesAndNothingElse)
{
    EXPECT_EQ(qc::parseclock("83.5"), 83.5);
    EXPECT_EQ(qc::parseclock("83"), 83.0);
    EXPECT_EQ(qc::parseclock("1:23.5"), 83.5);
    EXPECT_EQ(qc::parseclock("01:02:03.250"), 3723.25);
    EXPECT_EQ(qc::parseclock("125:00"), 7500.0);  // the first field is not held below 60
    for (const char* bad : {"", "-3", "1:60", "1:2:60.5", "1:2:3:4", " 5", "5s", "1.2.3", ":30", "1:", ".5", "5."})
        EXPECT_FALSE(qc::parseclock(bad).has_value()) << bad;

    // 1/75 s frames and samples, to the nearest, and back
    EXPECT_EQ(qc::cueframestosamples(75, 44100), 44100);
    EXPECT_EQ(qc::cueframestosamples(1, 44100), 588);
    EXPECT_EQ(qc::samplestocueframes(44100 + 293, 44100), 75);
    EXPECT_EQ(qc::samplestocueframes(44100 + 295, 44100), 76);
    EXPECT_EQ(qc::cuetimetext(75 * 3600 + 74), "60:00:74");
    EXPECT_EQ(qc::clocktext(44100 * 3725 + 22050, 44100), "1:02:05.500");
    EXPECT_EQ(qc::clocktext(441, 44100), "00:00.010");
}

TEST(SplitPoints, TracksRunFromPointToPointAndCoverTheRangeOnce)
{
    const std::vector<qc::Track> t = qc::tracksat(100, 1000, {700, 300, 300, 100, 1000, 5000, -4});
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].start, 100);
    EXPECT_EQ(t[0].end, 300);
    EXPECT_EQ(t[1].end, 700);
    EXPECT_EQ(t[2].end, 1000);
    EXPECT_TRUE(qc::tracksat(5, 5, {}).empty());
    EXPECT_EQ(qc::everypoints(0, 1000, 300), (std::vector<std::int64_t>{300, 600, 900}));
    EXPECT_EQ(qc::everypoints(0, 900, 300), (std::vector<std::int64_t>{300, 600}));  // no empty last track
    EXPECT_TRUE(qc::everypoints(0, 900, 0).empty());

    // frame boundaries of a gapless timeline: 576 + 529 samples hidden at the start
    qc::AudioTimeline tl;
    tl.frames = 11;  // a tag frame and ten frames of audio
    tl.tagframe = true;
    tl.lead = 576 + 529;
    tl.samples = 10 * 1152 - 576 - 1000;
    EXPECT_EQ(qc::boundarysample(tl, 1), 0);
    EXPECT_EQ(qc::boundarysample(tl, 2), 1152 - 1105);
    EXPECT_EQ(qc::boundarysample(tl, 11), tl.samples);
    EXPECT_EQ(qc::nearestboundary(tl, 1152 - 1105 + 575), 2);
    EXPECT_EQ(qc::nearestboundary(tl, 1152 - 1105 + 577), 3);
}

TEST(CueSheet, ItIsReadWithItsTitlesAndRefusedWhereItIsWrongNamingTheLine)
{
    const std::string sheet = "\xEF\xBB\xBFREM GENRE Rock\r\nPERFORMER \"Band\"\r\nTITLE \"Album\"\r\n"
                              "FILE \"side a.mp3\" MP3\r\n  TRACK 01 AUDIO\r\n    TITLE \"One\"\r\n"
                              "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    TITLE \"Two\"\r\n    PERFORMER \"Guest\"\r\n"
                              "    INDEX 00 01:00:00\r\n    INDEX 01 01:02:10\r\n";
    const qc::CueRead r = qc::parsecuesheet(sheet);
    ASSERT_TRUE(r.sheet) << r.problem.message;
    EXPECT_EQ(r.sheet->file, "side a.mp3");
    EXPECT_EQ(r.sheet->fileline, 4);
    EXPECT_EQ(r.sheet->title, "Album");
    EXPECT_EQ(r.sheet->performer, "Band");
    ASSERT_EQ(r.sheet->tracks.size(), 2u);
    EXPECT_EQ(r.sheet->tracks[1].title, "Two");
    EXPECT_EQ(r.sheet->tracks[1].performer, "Guest");
    EXPECT_EQ(r.sheet->tracks[1].index, (62 * 75) + 10);  // INDEX 01, not 00
    EXPECT_EQ(r.sheet->tracks[1].line, 12);

    // written and read again: the same sheet
    const qc::CueRead again = qc::parsecuesheet(qc::cuesheettext(*r.sheet));
    ASSERT_TRUE(again.sheet) << again.problem.message;
    EXPECT_EQ(again.sheet->tracks[1].index, r.sheet->tracks[1].index);
    EXPECT_EQ(again.sheet->tracks[0].title, "One");
    EXPECT_EQ(again.sheet->file, "side a.mp3");

    struct Bad {
        std::string text;
        int line;
    };
    const Bad bad[] = {
        {"FILE \"a.mp3\" MP3\nFILE \"b.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", 2},
        {"FILE \"a.mp3\" MP3\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n", 3},
        {"FILE \"a.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:75\n", 3},
        {"FILE \"a.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 0:0:0\n", 3},
        {"  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", 1},
        {"FILE \"a.mp3\" MP3\n", 0},
        {"FILE \"a.mp3 MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", 1},
    };
    std::string many = "FILE \"a.mp3\" MP3\n";
    for (int i = 0; i < 100; ++i)
        many += "  TRACK " + std::to_string(i + 1) + " AUDIO\n    INDEX 01 " + qc::cuetimetext(75 * i) + "\n";
    const qc::CueRead toomany = qc::parsecuesheet(many);
    EXPECT_FALSE(toomany.sheet);
    EXPECT_EQ(toomany.problem.line, 2 + 2 * 99);  // the 100th TRACK
    for (const Bad& b : bad) {
        const qc::CueRead refused = qc::parsecuesheet(b.text);
        EXPECT_FALSE(refused.sheet) << b.text;
        EXPECT_EQ(refused.problem.line, b.line) << b.text << refused.problem.message;
        EXPECT_FALSE(refused.problem.message.empty());
    }
    EXPECT_EQ(qc::readcuesheet("/nonexistent/x.cue").problem.message, "it cannot be read");
}

TEST(TrackNames, NamesAreNumberedAndHoldNoCharacterAFileSystemRefuses)
{
    EXPECT_EQ(qc::trackfilename(3, 12, ""), "03.mp3");
    EXPECT_EQ(qc::trackfilename(3, 120, "Intro"), "003 - Intro.mp3");
    EXPECT_EQ(qc::trackfilename(1, 2, "AC/DC: \"Live\" <1979>?*|\\\t"), "01 - AC_DC_ _Live_ _1979______.mp3");
    EXPECT_EQ(qc::trackfilename(1, 2, "  trailing. . "), "01 - trailing.mp3");
    EXPECT_EQ(qc::trackfilename(1, 2, " ..."), "01.mp3");
    // a name too long for the file system is cut, never inside a character
    std::string title;
    for (int i = 0; i < 200; ++i)
        title += "\xC3\xA9";  // é
    const std::string name = qc::trackfilename(1, 2, title);
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.substr(name.size() - 4), ".mp3");
    EXPECT_EQ((name.size() - 5 - 4) % 2, 0u);  // whole two-byte characters
}

}  // namespace
