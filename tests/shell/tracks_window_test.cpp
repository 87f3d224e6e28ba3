// The Tracks window's logic on loaded files: gaps found and points set on
// the strips, by the keys and in the list, the main window's cuts applied,
// cue sheets in and out, and the tracks written, refused over existing
// files unless confirmed, cancelled, and failing with their cause.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "fake_platform.h"
#include "settings_record.h"
#include "shell/options.h"
#include "shell/program.h"
#include "shell/tracks_window.h"
#include "splitting/cue_sheet.h"
#include "splitting/split_times.h"
#include "support/harness.h"
#include "support/scripted_dialogs.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t spf = 1152;

using Gains = std::vector<std::uint8_t>;

// Music (gains alternating 170 and 180) of these frame counts with 80
// frames (2.1 s) of digital silence between the pieces.
Gains recording(std::initializer_list<int> pieces)
{
    Gains g;
    bool first = true;
    for (int n : pieces) {
        if (!first)
            g.insert(g.end(), 80, 0);
        first = false;
        for (int k = 0; k < n; ++k)
            g.push_back(k % 2 ? 170 : 180);
    }
    return g;
}

std::vector<std::string> listed(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct TracksWindowTest : ::testing::Test {
    qctest::Loader loader;
    ui::TracksForm form;
    qctest::ScriptedDialogs dialogs;
    qc::TracksWindow win{loader.file, form, loader.cuts, loader.box, loader.pump, dialogs};
    qctest::TempDir dir;

    TracksWindowTest()
    {
        win.wire(loader.form);
        loader.scanner.afterload = [this] { win.fileloaded(); };
        loader.cuts.onchange = [this] { win.cutschanged(); };
    }
    void load(const Gains& gains)
    {
        const std::string path = dir.write("tape.mp3", qctest::frames(static_cast<int>(gains.size()), {}, gains));
        ASSERT_TRUE(loader.load(path));
    }
    // the sample where frame k starts (a file without a LAME tag: the raw timeline)
    static std::int64_t at(std::int64_t k) { return k * spf; }
    std::vector<std::int64_t> points() const { return form.overview.points(); }
    std::string cue(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.path(name)) << text;
        return dir.path(name);
    }
};

TEST_F(TracksWindowTest, OpenedFromTheMainWindowForTheLoadedFileOnly)
{
    EXPECT_FALSE(loader.form.tracksmenu.enabled());
    loader.form.tracksmenu.enabled();
    loader.box.answer(ui::idok);
    win.open();  // nothing loaded
    EXPECT_FALSE(form.visible());
    ASSERT_EQ(loader.box.shown.size(), 1u);
    load(recording({300}));
    EXPECT_TRUE(loader.form.tracksmenu.enabled());
    EXPECT_TRUE(loader.form.tracksbut.usable());
    loader.form.tracksbut.click();
    EXPECT_TRUE(form.visible());
    // one track, the whole file
    ASSERT_EQ(form.list.rows().size(), 1u);
    EXPECT_EQ(form.list.rows()[0].number, "1");
    EXPECT_EQ(form.list.rows()[0].start, qc::clocktext(0, 44100));
    EXPECT_EQ(form.list.rows()[0].length, qc::clocktext(300 * spf, 44100));
    EXPECT_EQ(form.overview.to(), 300 * spf);
    EXPECT_FALSE(form.removebut.enabled());
    // Escape closes it
    form.presskey(ui::key_escape);
    EXPECT_FALSE(form.visible());
}

TEST_F(TracksWindowTest, FindGapsSplitsInsideEachGapAndTheListAndStripsFollow)
{
    load(recording({300, 250, 200}));
    win.open();
    form.mingapedit.usertext("1,5");
    form.findbut.click();
    const std::vector<std::int64_t> p = points();
    ASSERT_EQ(p.size(), 2u);
    // inside the gaps: frames 300..379 and 630..709
    EXPECT_GE(p[0], at(300));
    EXPECT_LE(p[0], at(380));
    EXPECT_GE(p[1], at(630));
    EXPECT_LE(p[1], at(710));
    EXPECT_EQ(form.detail.points(), p);
    ASSERT_EQ(form.list.rows().size(), 3u);
    EXPECT_EQ(form.list.rows()[1].start, qc::clocktext(p[0], 44100));
    EXPECT_EQ(form.list.rows()[2].length, qc::clocktext(at(910) - p[1], 44100));
    EXPECT_NE(form.statuslabel.caption().find("Found 2 gaps of 1.5 s"), std::string::npos)
        << form.statuslabel.caption();

    // a minimum gap longer than the gaps: one track, and the window says so
    form.mingapedit.usertext("3");
    form.findbut.click();
    EXPECT_TRUE(points().empty());
    EXPECT_NE(form.statuslabel.caption().find("No gap"), std::string::npos);
    // a minimum gap that is no time is refused with what the box holds
    form.mingapedit.usertext("x1");
    loader.box.answer(ui::idok);
    form.findbut.click();
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_NE(loader.box.shown[0].text.find("\"x1\""), std::string::npos);
}

TEST_F(TracksWindowTest, PointsAreSelectedMovedByKeysAndDragsAddedAndRemovedInStepWithTheList)
{
    load(recording({300, 250}));
    win.open();
    form.findbut.click();
    ASSERT_EQ(points().size(), 1u);
    const std::int64_t p = points()[0];

    // the list's second row is the track the point begins
    form.list.userselect(1);
    EXPECT_EQ(form.overview.selected(), 0);
    EXPECT_EQ(form.detail.selected(), 0);
    EXPECT_TRUE(form.removebut.enabled());
    EXPECT_LE(form.detail.from(), p);
    EXPECT_GE(form.detail.to(), p);

    form.detail.arrowkey(true, false);
    EXPECT_EQ(points()[0], p + spf);  // a frame
    form.overview.arrowkey(false, true);
    EXPECT_EQ(points()[0], p + spf - 44100);  // a second
    EXPECT_EQ(form.list.rows()[1].start, qc::clocktext(p + spf - 44100, 44100));

    // dragged on the overview: to the frame boundary nearest the pointer
    const std::int64_t before = points()[0];
    const int x = static_cast<int>(std::lround(form.overview.pointx(0)));
    form.overview.press(x);
    form.overview.drag(x + 30);  // 30 pixels: about 26 frames
    form.overview.release();
    const std::int64_t dragged = points()[0];
    EXPECT_GT(dragged, before + 20 * spf);
    EXPECT_LT(dragged, before + 32 * spf);
    EXPECT_EQ(dragged % spf, 0);

    // a click on the first track picks a place; Add point splits there
    const int in = static_cast<int>(std::lround(form.overview.samplex(at(100))));
    form.overview.press(in);
    form.overview.release();
    EXPECT_EQ(form.list.selected(), 0);
    EXPECT_EQ(form.overview.cursor(), win.picked);
    EXPECT_LT(std::abs(win.picked - at(100)), 40 * spf);  // a pixel of the overview is 7.3 frames
    form.addbut.click();
    ASSERT_EQ(points().size(), 2u);
    EXPECT_EQ(points()[0], win.points.points()[0]);
    EXPECT_EQ(form.list.selected(), 1);
    EXPECT_EQ(form.list.rows().size(), 3u);
    // Add point without a picked place: the middle of the selected track
    form.addbut.click();
    EXPECT_EQ(points().size(), 3u);

    // titles typed in the list stay with their tracks
    form.list.usertitle(0, "Opening");
    form.list.usertitle(3, "Finale");
    form.list.userselect(2);
    form.removebut.click();
    ASSERT_EQ(form.list.rows().size(), 3u);
    EXPECT_EQ(form.list.rows()[0].title, "Opening");
    EXPECT_EQ(form.list.rows()[2].title, "Finale");
    // Delete on a strip removes the selected point too
    form.list.userselect(2);
    form.overview.deletekey();
    EXPECT_EQ(form.list.rows().size(), 2u);
}

TEST_F(TracksWindowTest, TheMainWindowsCutsBoundTheFirstAndLastTracks)
{
    load(recording({300, 250}));
    win.open();
    form.findbut.click();
    ASSERT_EQ(points().size(), 1u);
    // frame cuts (exact output off): whole frames off each end
    loader.form.tbox0.usertext("1");
    loader.form.tbox1.usertext("0.5");
    const std::int64_t from = loader.file.cutframes[0] * spf;
    const std::int64_t to = (630 - loader.file.cutframes[1]) * spf;
    std::vector<qc::Track> t = win.points.tracks();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_GT(from, 0);
    EXPECT_EQ(t[0].start, from);
    EXPECT_EQ(t[1].end, to);
    EXPECT_EQ(form.overview.keptfrom(), from);
    EXPECT_EQ(form.overview.keptto(), to);
    EXPECT_EQ(form.list.rows()[0].start, qc::clocktext(from, 44100));

    // exact output: the cut's audio time, to the sample
    loader.cuts.setexact(true);
    loader.form.tbox0.usertext("1.5");
    t = win.points.tracks();
    EXPECT_EQ(t[0].start, 66150);
    // a start cut past the point: one track, from the cut
    loader.form.tbox0.usertext("9");
    EXPECT_EQ(win.points.tracks().size(), 1u);
    EXPECT_EQ(win.points.tracks()[0].start, 9 * 44100);
}

TEST_F(TracksWindowTest, CueSheetsAreImportedCheckedAndExportedToBeReadBack)
{
    load(recording({300, 250, 200}));
    win.open();
    dialogs.choose(cue("tape.cue", "PERFORMER \"Band\"\nTITLE \"Tape\"\nFILE \"tape.mp3\" MP3\n"
                                   "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                                   "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    PERFORMER \"Guest\"\n    INDEX 01 00:08:10\n"
                                   "  TRACK 03 AUDIO\n    TITLE \"Three\"\n    INDEX 01 00:15:00\n"));
    form.importbut.click();
    EXPECT_EQ(points(), (std::vector<std::int64_t>{qc::cueframestosamples(8 * 75 + 10, 44100), 15 * 44100}));
    ASSERT_EQ(form.list.rows().size(), 3u);
    EXPECT_EQ(form.list.rows()[1].title, "Two");
    EXPECT_EQ(win.points.album, "Tape");
    EXPECT_EQ(dialogs.shown.back().initialdir, dir.path(""));

    // out, after the start cut and a title typed, and back in
    loader.form.tbox0.usertext("0.2");
    form.list.usertitle(2, "Drei");
    dialogs.choose(dir.path("out.cue"));
    form.exportbut.click();
    EXPECT_EQ(dialogs.shown.back().filename, "tape.cue");  // proposed beside the source
    const qc::CueRead back = qc::readcuesheet(dir.path("out.cue"));
    ASSERT_TRUE(back.sheet) << back.problem.message;
    EXPECT_EQ(back.sheet->file, "tape.mp3");
    EXPECT_EQ(back.sheet->title, "Tape");
    ASSERT_EQ(back.sheet->tracks.size(), 3u);
    EXPECT_EQ(back.sheet->tracks[0].index, qc::samplestocueframes(win.points.from(), 44100));
    EXPECT_EQ(back.sheet->tracks[1].performer, "Guest");
    EXPECT_EQ(back.sheet->tracks[2].title, "Drei");
    const std::vector<std::int64_t> before = points();
    form.list.usertitle(2, "changed");
    dialogs.choose(dir.path("out.cue"));
    form.importbut.click();
    EXPECT_EQ(points(), before);
    EXPECT_EQ(form.list.rows()[2].title, "Drei");

    // a time past the end is refused, naming its line; nothing changes
    dialogs.choose(cue("long.cue", "FILE \"tape.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                   "  TRACK 02 AUDIO\n    INDEX 01 05:00:00\n"));
    loader.box.answer(ui::idok);
    form.importbut.click();
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_NE(loader.box.shown[0].text.find("line 5"), std::string::npos) << loader.box.shown[0].text;
    EXPECT_NE(loader.box.shown[0].text.find("past the end"), std::string::npos);
    EXPECT_EQ(points(), before);
    // a sheet of another file is used only when the user says so
    dialogs.choose(cue("other.cue", "FILE \"other.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 01 00:05:00\n"));
    loader.box.answer(ui::idno);
    form.importbut.click();
    ASSERT_EQ(loader.box.shown.size(), 2u);
    EXPECT_NE(loader.box.shown[1].text.find("other.flac"), std::string::npos);
    EXPECT_EQ(points(), before);
    // a sheet that cannot be parsed: refused with the parser's reason
    dialogs.choose(cue("bad.cue", "this is no cue sheet\n"));
    loader.box.answer(ui::idok);
    form.importbut.click();
    ASSERT_EQ(loader.box.shown.size(), 3u);
    EXPECT_NE(loader.box.shown[2].text.find("bad.cue"), std::string::npos);
    EXPECT_EQ(points(), before);
}

TEST_F(TracksWindowTest, TracksAreWrittenWithProgressAndNeverOverFilesUnlessConfirmed)
{
    load(recording({300, 250, 200}));
    win.open();
    form.findbut.click();
    form.list.usertitle(0, "A/B");
    const std::string out = dir.path("out");
    fs::create_directories(out);
    dialogs.choose(out);
    const int pumped = loader.pump.count;
    form.writebut.click();
    EXPECT_TRUE(dialogs.shown.back().folder);
    EXPECT_EQ(listed(out), (std::vector<std::string>{"01 - A_B.mp3", "02.mp3", "03.mp3"}));
    EXPECT_GE(loader.pump.count - pumped, 3);  // the window kept answering
    EXPECT_TRUE(loader.box.shown.empty());
    EXPECT_NE(form.statuslabel.caption().find("3 tracks written to " + out), std::string::npos);
    EXPECT_FALSE(loader.file.busy);
    EXPECT_TRUE(form.writebut.enabled());
    EXPECT_FALSE(form.pbar.visible());
    EXPECT_EQ(win.folder, out + "/");

    // again: asked first; No leaves the files as they are
    std::ofstream(out + "/02.mp3") << "mine";
    dialogs.choose(out);
    loader.box.answer(ui::idno);
    form.writebut.click();
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_NE(loader.box.shown[0].text.find("All 3 of the 3 tracks' files already exist"), std::string::npos)
        << loader.box.shown[0].text;
    EXPECT_EQ(dialogs.shown.back().initialdir, out + "/");
    EXPECT_EQ(qctest::readbytes(out + "/02.mp3").size(), 4u);
    // Yes replaces them
    dialogs.choose(out);
    loader.box.answer(ui::idyes);
    form.writebut.click();
    EXPECT_GT(qctest::readbytes(out + "/02.mp3").size(), 4u);
    EXPECT_EQ(listed(out).size(), 3u);
}

TEST_F(TracksWindowTest, CancelStopsAfterTheTrackBeingWrittenAndLeavesNoPartialFile)
{
    load(recording({300, 250, 200}));
    win.open();
    form.findbut.click();
    const std::string out = dir.path("out");
    fs::create_directories(out);
    // the user clicks Cancel once the first track is written
    int progress = 0;
    loader.pump.hook = [&] {
        if (win.writing() && form.cancelbut.visible() && ++progress == 2)
            form.cancelbut.click();
    };
    dialogs.choose(out);
    loader.box.answer(ui::idok);
    form.writebut.click();
    loader.pump.hook = nullptr;
    EXPECT_EQ(listed(out), std::vector<std::string>{"01.mp3"});
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_NE(loader.box.shown[0].text.find("Cancelled: 1 of 3 tracks"), std::string::npos);
    EXPECT_FALSE(win.writing());
    EXPECT_FALSE(form.cancelbut.visible());
    EXPECT_TRUE(loader.form.filemenu.enabled());
}

TEST_F(TracksWindowTest, AFailedWriteNamesItsCause)
{
    load(recording({300, 250}));
    win.open();
    form.findbut.click();
    dialogs.choose(dir.path("missing/folder"));
    loader.box.answer(ui::idok);
    form.writebut.click();
    ASSERT_EQ(loader.box.shown.size(), 1u);
    const std::string& text = loader.box.shown[0].text;
    EXPECT_NE(text.find("Track 1 of 2"), std::string::npos) << text;
    EXPECT_NE(text.find(dir.path("missing/folder")), std::string::npos) << text;
    EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    EXPECT_NE(text.find("No track was written"), std::string::npos) << text;
    EXPECT_FALSE(loader.file.busy);
}

// The window's place: kept in quillcut.json when it closes, never in the record.
struct TracksPlace : ::testing::Test {
    qctest::TempDir dir;
    shelltest::FakePlatform fake;
    std::unique_ptr<qc::Program> program;

    TracksPlace() { fs::create_directories(dir.path("bin")); }
    qc::Program& start()
    {
        program = std::make_unique<qc::Program>(fake.platform, dir.path("bin/quillcut"));
        program->start();
        return *program;
    }
};

TEST_F(TracksPlace, KeptBetweenRunsInTheOptionsFileAndNotInTheRecord)
{
    dir.write("bin/mp3qc.ini", shelltest::record({}));
    const qctest::Bytes record = qctest::readbytes(dir.path("bin/mp3qc.ini"));
    qc::Program& p = start();
    // first run: beside the main window
    const ui::Rect m = p.mainform().rect();
    EXPECT_EQ(p.tracksform().rect().left, std::min(m.left + m.width + 16, 1024 - p.tracksform().rect().width));
    EXPECT_FALSE(p.tracksform().visible());

    p.tracksform().show();
    p.tracksform().setrect({120, 90, p.tracksform().rect().width, p.tracksform().rect().height});  // moved by the user
    p.tracksform().close();
    EXPECT_EQ(qc::readwindowplace(dir.path("bin/quillcut.json"), "tracks_window"), (qc::WindowPlace{120, 90}));
    EXPECT_EQ(qctest::readbytes(dir.path("bin/mp3qc.ini")), record);

    // closing the main window keeps the place of an open Tracks window
    p.tracksform().show();
    p.tracksform().setrect({200, 100, p.tracksform().rect().width, p.tracksform().rect().height});
    p.mainform().close();
    EXPECT_EQ(qc::readwindowplace(dir.path("bin/quillcut.json"), "tracks_window"), (qc::WindowPlace{200, 100}));
    // the next run places it there, and the options file keeps its other keys
    program.reset();
    qc::Program& again = start();
    EXPECT_EQ(again.tracksform().rect().left, 200);
    EXPECT_EQ(again.tracksform().rect().top, 100);
    again.mainform().exactmenu.click();
    EXPECT_EQ(qc::readwindowplace(dir.path("bin/quillcut.json"), "tracks_window"), (qc::WindowPlace{200, 100}));
    // a place off the screen is pulled back onto it
    qc::writewindowplace(dir.path("bin/quillcut.json"), "tracks_window", {5000, -40});
    program.reset();
    qc::Program& third = start();
    EXPECT_EQ(third.tracksform().rect().left, 1024 - third.tracksform().rect().width);
    EXPECT_EQ(third.tracksform().rect().top, 0);
}

}  // namespace
