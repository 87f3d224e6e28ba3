#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fake_platform.h"
#include "settings_record.h"
#include "shell/program.h"
#include "shell/settings_location.h"

namespace {

namespace fs = std::filesystem;
using qctest::Bytes;
using shelltest::getint;
using shelltest::getshort;
using shelltest::RecordValues;

struct ProgramFixture : ::testing::Test {
    qctest::TempDir dir;
    shelltest::FakePlatform fake;
    std::unique_ptr<qc::Program> program;
    std::string oldhome;
    bool hadhome = false;
    std::string oldxdg;
    bool hadxdg = false;

    ProgramFixture()
    {
        fs::create_directories(dir.path("bin"));
        fs::create_directories(dir.path("home"));
        fs::create_directories(dir.path("music"));
        fs::create_directories(dir.path("out"));
        if (const char* h = std::getenv("HOME")) {
            hadhome = true;
            oldhome = h;
        }
        ::setenv("HOME", dir.path("home").c_str(), 1);
        // the user's own settings would be looked for here, so keep them out
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) {
            hadxdg = true;
            oldxdg = x;
        }
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ~ProgramFixture() override
    {
        program.reset();
        if (hadhome)
            ::setenv("HOME", oldhome.c_str(), 1);
        if (hadxdg)
            ::setenv("XDG_CONFIG_HOME", oldxdg.c_str(), 1);
    }

    std::string ini() const { return dir.path("bin/mp3qc.ini"); }
    void writeini(const RecordValues& v) { dir.write("bin/mp3qc.ini", shelltest::record(v)); }
    Bytes inibytes() const { return qctest::readbytes(ini()); }

    qc::Program& start()
    {
        program = std::make_unique<qc::Program>(fake.platform, dir.path("bin/quillcut"));
        program->start();
        return *program;
    }

    std::string song()
    {
        const std::string p = dir.path("music/song.mp3");
        if (!fs::exists(p))
            fs::copy_file(qctest::samplepath("tone44-cbr64-tagged.mp3"), p);
        return p;
    }

    // Open with the dialog answering `name` (or cancelled).
    void open(std::optional<std::string> name)
    {
        fake.dialogs.answers.push_back(std::move(name));
        program->mainform().openbut.click();
    }

    void expectloaderror()
    {
        ASSERT_FALSE(fake.box.shown.empty());
        EXPECT_EQ(fake.box.shown.back().text.rfind("Error processing file: \r\n ", 0), 0u);
        EXPECT_EQ(fake.box.shown.back().caption, "error");
    }
};

TEST(DirectoryOf, ChosenFileDirectory)
{
    EXPECT_EQ(qc::directoryof("/song.mp3"), "/");
    EXPECT_EQ(qc::directoryof("/music/song.mp3"), "/music");
    EXPECT_EQ(qc::directoryof("/a/b c/song.mp3"), "/a/b c");
    EXPECT_EQ(qc::directoryof("song.mp3"), "");
}

TEST_F(ProgramFixture, StartWithoutSettingsFile)
{
    fake.box.answer(ui::idok);
    qc::Program& p = start();
    ASSERT_EQ(fake.box.shown.size(), 1u);
    EXPECT_EQ(fake.box.shown[0].text, "Error reading configuration file.\r\nParameters reset.");
    // with no installed default there is nothing to copy: no file appears
    EXPECT_FALSE(fs::exists(dir.path("home/.config/quillcut/mp3qc.ini")));

    ui::MainForm& w = p.mainform();
    EXPECT_EQ(p.settings().loaddir, dir.path("home"));
    EXPECT_EQ(p.writer().savedir, dir.path("home") + "/");
    EXPECT_EQ(p.settings().savedir, p.writer().savedir);
    // reset values: both pictures and text, prompt, top left corner
    EXPECT_TRUE(w.stmenu.checked());
    EXPECT_TRUE(w.bothbutmenu.checked());
    EXPECT_EQ(w.clientheight(), 542);
    EXPECT_TRUE(w.promptmenu.checked());
    EXPECT_FALSE(w.failmenu.checked() || w.trymenu.checked());
    EXPECT_EQ(w.rect().left, 0);
    EXPECT_EQ(w.rect().top, 0);

    EXPECT_EQ(w.playsrcbut.caption(), "&Play\r\nsource");
    EXPECT_EQ(w.playbut.caption(), "Play\r\n&target");
    EXPECT_EQ(w.norifflab.rect().left, w.riffcheck.rect().left);
    EXPECT_EQ(w.noheadlabel.rect().left, w.headtagcheck.rect().left);
    EXPECT_EQ(w.nofootlabel.rect().left, w.Foottagcheck.rect().left);
    for (ui::Control* c : {&w.reloadbut, &w.reloadmenu, &w.savebut, &w.savemenu, &w.playsrcbut,
                           &w.playsrcmenu, &w.playbut, &w.playmenu, &w.frame1})
        EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_TRUE(w.openbut.enabled());
    EXPECT_EQ(w.infolabel.caption(), "no file loaded");
    EXPECT_FALSE(p.infoform().visible());
    EXPECT_FALSE(p.autoform().visible());

    // closing writes nothing: the file is never created
    w.close();
    EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(ProgramFixture, FreshHomeGetsItsOwnSettingsFromTheInstalledDefault)
{
    // the installed default, read-only as installed files are
    const std::string datadir = qc::settingsplaces(dir.path("bin/quillcut")).datadir;
    fs::create_directories(datadir);
    RecordValues v;
    v.toolbarmode = 2;
    v.toolbarstyle = 2;
    v.errorpolicy = 2;
    const std::string installed = dir.write("bin/../share/default.ini", shelltest::record(v));
    fs::rename(installed, datadir + "/mp3qc.ini");
    fs::permissions(datadir + "/mp3qc.ini", fs::perms::owner_read | fs::perms::others_read);
    const std::string own = dir.path("home/.config/quillcut/mp3qc.ini");

    qc::Program& p = start();
    EXPECT_TRUE(fake.box.shown.empty());
    EXPECT_EQ(p.settings().path, own);
    EXPECT_EQ(p.settings().directory(), dir.path("home/.config/quillcut"));
    EXPECT_EQ(qctest::readbytes(own), shelltest::record(v));
    EXPECT_TRUE(p.mainform().trymenu.checked());
    EXPECT_TRUE(p.mainform().textbutmenu.checked());

    // the user's changes go to the user's file only, and are read back next time
    p.mainform().failmenu.click();
    p.formclose();
    EXPECT_EQ(qctest::readbytes(own).size(), 543u);
    EXPECT_EQ(qctest::readbytes(own)[522], 0);
    EXPECT_EQ(qctest::readbytes(datadir + "/mp3qc.ini"), shelltest::record(v));
    EXPECT_FALSE(fs::exists(ini()));

    program.reset();
    qc::Program& again = start();
    EXPECT_TRUE(fake.box.shown.empty());
    EXPECT_TRUE(again.mainform().failmenu.checked());
}

TEST_F(ProgramFixture, StartAppliesAndKeepsSettingsOnScreen)
{
    RecordValues v;
    v.errorpolicy = 9;
    v.toolbarmode = 0;
    v.toolbarstyle = 7;
    v.top = 5000;
    v.left = -300;
    v.infoleft = 2000;
    v.infotop = -40;
    v.autoleft = 3000;
    v.autotop = 20;
    writeini(v);
    qc::Program& p = start();
    EXPECT_TRUE(fake.box.shown.empty());
    ui::MainForm& w = p.mainform();

    EXPECT_TRUE(w.promptmenu.checked());
    EXPECT_FALSE(w.failmenu.checked() || w.trymenu.checked());
    EXPECT_EQ(p.settings().errorpolicy, 1);
    EXPECT_FALSE(w.stmenu.checked());
    EXPECT_FALSE(w.buttonsmenu.enabled());
    EXPECT_EQ(w.rect().top, 768 - 547);
    EXPECT_EQ(w.rect().left, 0);
    EXPECT_EQ(p.infoform().rect().left, 1024 - p.infoform().rect().width);
    EXPECT_EQ(p.infoform().rect().top, 0);
    EXPECT_EQ(p.autoform().rect().left, 3000);  // placed without adjustment

    // the first paint hides the toolbar; the window's top stays
    p.paint();
    EXPECT_FALSE(w.openbut.visible());
    EXPECT_EQ(w.clientheight(), 485);
    EXPECT_EQ(p.toolbar().border(0xD4D0C8)[0].top, 0);

    p.formclose();
    const Bytes b = inibytes();
    EXPECT_EQ(b[520], 0);
    EXPECT_EQ(b[521], 3);
    EXPECT_EQ(b[522], 1);
    EXPECT_EQ(getint(b, 512), 768 - 547);
    EXPECT_EQ(getint(b, 516), 0);
    EXPECT_EQ(getint(b, 535), 3000);
    EXPECT_EQ(getshort(b, 256), "/music/in");

    // the attempt policy is started checked
    v.errorpolicy = 2;
    writeini(v);
    qc::Program& again = start();
    EXPECT_TRUE(again.mainform().trymenu.checked());
    EXPECT_FALSE(again.mainform().promptmenu.checked());
    EXPECT_EQ(again.settings().errorpolicy, 2);
}

TEST_F(ProgramFixture, OpenLoadsAndRemembersTheDirectory)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    const Bytes before = inibytes();

    p.opendlg1.filename = "left over";
    open(std::nullopt);
    ASSERT_EQ(fake.dialogs.seen.size(), 1u);
    const ui::FileDialog& d = fake.dialogs.seen[0];
    EXPECT_EQ(d.title, " - choose source file - ");
    EXPECT_EQ(d.filter, "Mp3 files|*.mp3|All files|*.*");
    EXPECT_EQ(d.initialdir, "/music/in");
    EXPECT_EQ(d.filename, "");
    EXPECT_FALSE(d.saving);
    // cancelled: nothing changes, the settings file included
    EXPECT_EQ(p.settings().loaddir, "/music/in");
    EXPECT_EQ(inibytes(), before);
    EXPECT_FALSE(w.reloadbut.enabled());

    open(song());
    EXPECT_TRUE(fake.box.shown.empty());
    EXPECT_TRUE(p.file().loadok);
    EXPECT_EQ(p.file().sourcename, song());
    EXPECT_EQ(p.settings().loaddir, dir.path("music"));
    EXPECT_EQ(getshort(inibytes(), 256), dir.path("music"));
    for (ui::Control* c : {&w.reloadbut, &w.reloadmenu, &w.playsrcbut, &w.playsrcmenu, &w.frame1})
        EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_FALSE(w.playbut.enabled());
    EXPECT_EQ(w.focus(), &w.tbox0);
    EXPECT_EQ(fake.dialogs.seen.back().initialdir, "/music/in");

    w.playsrcbut.click();
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0], song());

    // the next Open starts in the new directory
    open(std::nullopt);
    EXPECT_EQ(fake.dialogs.seen.back().initialdir, dir.path("music"));
}

TEST_F(ProgramFixture, FailedOpenKeepsPlaySourceAndReloadsTheNewName)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();

    // a first Open that fails: Reload comes, Play source does not
    const std::string missing = dir.path("music/missing.mp3");
    fake.box.answer(ui::idok);
    open(missing);
    expectloaderror();
    EXPECT_TRUE(w.reloadbut.enabled());
    EXPECT_FALSE(w.playsrcbut.enabled());
    EXPECT_EQ(w.focus(), &w.openbut);

    open(song());
    ASSERT_TRUE(p.file().loadok);
    fake.box.clear();
    fake.box.answer(ui::idok);
    open(missing);
    expectloaderror();
    EXPECT_FALSE(p.file().loadok);
    EXPECT_EQ(p.file().sourcename, missing);
    EXPECT_TRUE(w.playsrcbut.enabled());
    EXPECT_TRUE(w.playsrcmenu.enabled());
    EXPECT_TRUE(w.reloadmenu.enabled());
    EXPECT_FALSE(w.frame1.enabled());
    EXPECT_EQ(w.infolabel.caption(), "no file loaded");

    // Reload scans the name picked last
    fake.box.clear();
    fake.box.answer(ui::idok);
    w.reloadmenu.click();
    expectloaderror();
    EXPECT_EQ(fake.box.shown.size(), 1u);

    // a directory too long for the record is not remembered
    const Bytes before = inibytes();
    const std::string deep = "/" + std::string(300, 'd') + "/song.mp3";
    fake.box.clear();
    fake.box.answer(ui::idok);
    open(deep);
    EXPECT_EQ(p.settings().loaddir, dir.path("music"));
    EXPECT_EQ(inibytes(), before);
    EXPECT_EQ(p.file().sourcename, deep);  // not cut short
}

TEST_F(ProgramFixture, LoadButtonsDoNothingWhileLoading)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    int clicks = 0;
    fake.pump.hook = [&] {
        if (!p.file().busy)
            return;
        ++clicks;
        w.openbut.click();
        w.rezopenbut.onclick();
        w.reloadbut.click();
    };
    open(song());
    fake.pump.hook = nullptr;
    EXPECT_GT(clicks, 0);
    EXPECT_EQ(fake.dialogs.seen.size(), 1u);
    EXPECT_TRUE(p.file().loadok);
    EXPECT_TRUE(fake.box.shown.empty());
}

TEST_F(ProgramFixture, PolicyItemsCheckOneAndAreStored)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    w.trymenu.click();
    EXPECT_TRUE(w.trymenu.checked());
    EXPECT_FALSE(w.failmenu.checked() || w.promptmenu.checked());
    EXPECT_EQ(p.settings().errorpolicy, 2);
    w.failmenu.click();
    EXPECT_TRUE(w.failmenu.checked());
    EXPECT_FALSE(w.trymenu.checked() || w.promptmenu.checked());
    EXPECT_EQ(p.settings().errorpolicy, 0);
    EXPECT_EQ(inibytes()[522], 1);  // stored at the next write only

    w.setrect({40, 50, w.rect().width, w.rect().height});
    w.close();
    const Bytes b = inibytes();
    EXPECT_EQ(b[522], 0);
    EXPECT_EQ(getint(b, 512), 50);
    EXPECT_EQ(getint(b, 516), 40);
}

TEST_F(ProgramFixture, InfoWindowShowsAndKeepsItsPosition)
{
    RecordValues v;
    v.infoleft = 30;
    v.infotop = 40;
    writeini(v);
    qc::Program& p = start();
    ui::InfoForm& info = p.infoform();
    EXPECT_EQ(info.rect().left, 30);
    EXPECT_EQ(info.rect().top, 40);
    EXPECT_EQ(info.namelabel.caption(), "Quillcut");
    EXPECT_NE(info.versionlabel.caption().find(ui::programversion()), std::string::npos);

    p.mainform().aboutmenu.click();
    EXPECT_TRUE(info.visible());
    info.setrect({110, 220, info.rect().width, info.rect().height});
    info.okbutton.click();
    EXPECT_FALSE(info.visible());
    EXPECT_EQ(p.settings().infoleft, 110);
    EXPECT_EQ(p.settings().infotop, 220);
    p.formclose();
    EXPECT_EQ(getint(inibytes(), 523), 110);
    EXPECT_EQ(getint(inibytes(), 527), 220);
}

TEST_F(ProgramFixture, PlayStatesAcrossSaves)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    open(song());
    ASSERT_TRUE(p.file().loadok);
    w.cmfrup0.click();
    ASSERT_TRUE(w.savebut.enabled());

    // a save to another file enables Play target and stores its directory
    const std::string target = dir.path("out/cut.mp3");
    fake.dialogs.answers.push_back(target);
    w.savebut.click();
    ASSERT_TRUE(fs::exists(target));
    EXPECT_TRUE(w.playbut.enabled());
    EXPECT_TRUE(w.playmenu.enabled());
    EXPECT_TRUE(w.playsrcbut.enabled());
    EXPECT_EQ(getshort(inibytes(), 0), dir.path("out") + "/");
    w.playmenu.click();
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0], target);

    // a save onto the source: Play source goes until the next Open
    fake.dialogs.answers.push_back(song());
    w.savebut.click();
    EXPECT_FALSE(w.playsrcbut.enabled());
    EXPECT_FALSE(w.playsrcmenu.enabled());
    EXPECT_TRUE(w.playbut.enabled());
    w.playbut.click();
    EXPECT_EQ(fake.shell.opened.back(), song());

    w.reloadbut.click();
    EXPECT_TRUE(p.file().loadok);
    EXPECT_FALSE(w.playsrcbut.enabled());
    open(song());
    EXPECT_TRUE(w.playsrcbut.enabled());
    EXPECT_TRUE(w.playsrcmenu.enabled());
    EXPECT_TRUE(fake.box.shown.empty());
}

// The file-name line: the full path as its tooltip, under it what the last
// save of that file wrote, exact or byte for byte; another file forgets it.
TEST_F(ProgramFixture, TheFileNameLineSaysWhatTheLastSaveOfTheLoadedFileWrote)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    open(song());
    EXPECT_EQ(w.filenamelabel.hint(), song());

    w.tbox0.usertext("1");
    fake.dialogs.answers.push_back(dir.path("out/a.mp3"));
    w.savebut.click();
    ASSERT_TRUE(p.writer().saveok);
    const std::string exact = song() + "\r\nWritten: 0.6 s (26460 samples), ";
    EXPECT_EQ(w.filenamelabel.hint().rfind(exact, 0), 0u) << w.filenamelabel.hint();

    // a byte-for-byte save says what it wrote, not what the exact one did
    p.exactmenuClick();
    ASSERT_FALSE(p.writer().exact);
    fake.dialogs.answers.push_back(dir.path("out/b.mp3"));
    w.savebut.click();
    ASSERT_TRUE(p.writer().saveok);
    EXPECT_EQ(w.filenamelabel.hint(), song() + "\r\nWritten byte for byte: 26 frames, " +
                                          std::to_string(fs::file_size(dir.path("out/b.mp3"))) + " bytes");
    // a cancelled dialog leaves it; Reload keeps it
    fake.dialogs.answers.push_back(std::nullopt);
    w.savebut.click();
    w.reloadbut.click();
    EXPECT_NE(w.filenamelabel.hint().find("byte for byte"), std::string::npos);
    p.exactmenuClick();

    // another file: its own path only, and so for the first one again
    const std::string other = dir.path("music/other.mp3");
    fs::copy_file(qctest::samplepath("tone44-cbr128.mp3"), other);
    open(other);
    EXPECT_EQ(w.filenamelabel.hint(), other);
    open(song());
    EXPECT_EQ(w.filenamelabel.hint(), song());
    EXPECT_TRUE(fake.box.shown.empty());
}

// After a save onto the source the window holds the file the save left:
// counts, duration and gains are the new file's, the cuts start from none,
// and the file-name line says it was loaded again. A new cut saves again.
TEST_F(ProgramFixture, ASaveOntoTheSourceLoadsTheSavedFileAgain)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    open(song());
    ASSERT_EQ(p.file().framecount, 64);
    w.tbox0.usertext("1");
    w.headtagcheck.click();
    fake.dialogs.answers.push_back(song());
    w.savebut.click();
    ASSERT_TRUE(p.writer().saveok);

    EXPECT_TRUE(p.file().loadok);
    EXPECT_LT(p.file().framecount, 64);
    EXPECT_FALSE(p.file().headtagpresent);
    EXPECT_NE(w.infolabel.caption().find(", 0.6, "), std::string::npos) << w.infolabel.caption();
    EXPECT_EQ(w.tbox0.text(), "0");
    EXPECT_EQ(w.cuttime0.caption(), "0.000 s");
    EXPECT_FALSE(w.headtagcheck.visible());
    EXPECT_FALSE(w.savebut.enabled());
    EXPECT_TRUE(w.frame1.enabled());
    const std::string& line = w.filenamelabel.caption();
    EXPECT_EQ(line.substr(line.size() - std::string(qc::reloadedaftersave).size()), qc::reloadedaftersave);
    EXPECT_NE(w.filenamelabel.hint().find("Written: 0.6 s"), std::string::npos);
    EXPECT_FALSE(w.playsrcbut.enabled());

    // the record is the new file's: a cut of it saves, with no message
    w.tbox1.usertext("0.1");
    EXPECT_TRUE(w.savebut.enabled());
    fake.dialogs.answers.push_back(dir.path("out/again.mp3"));
    w.savebut.click();
    ASSERT_TRUE(p.writer().saveok);
    EXPECT_EQ(p.writer().written.samples, 26460 - 4410);
    EXPECT_TRUE(fake.box.shown.empty());
}

// With no save directory stored, the first Save dialog opens in the
// source's folder; once a save has chosen one, the dialog opens there.
TEST_F(ProgramFixture, TheFirstSaveDialogOpensInTheSourcesFolder)
{
    RecordValues v;
    v.savedir.clear();
    writeini(v);
    qc::Program& p = start();
    ui::MainForm& w = p.mainform();
    open(song());
    w.tbox0.usertext("1");
    fake.dialogs.answers.push_back(std::nullopt);
    w.savebut.click();
    EXPECT_EQ(fake.dialogs.seen.back().initialdir, dir.path("music") + "/");
    fake.dialogs.answers.push_back(dir.path("out/a.mp3"));
    w.savebut.click();
    ASSERT_TRUE(p.writer().saveok);
    fake.dialogs.answers.push_back(std::nullopt);
    w.savebut.click();
    EXPECT_EQ(fake.dialogs.seen.back().initialdir, dir.path("out") + "/");

    // a stored one is used from the start
    p.formclose();
    program.reset();
    qc::Program& q = start();
    open(song());
    q.mainform().tbox0.usertext("1");
    fake.dialogs.answers.push_back(std::nullopt);
    q.mainform().savebut.click();
    EXPECT_EQ(fake.dialogs.seen.back().initialdir, dir.path("out") + "/");
}

TEST_F(ProgramFixture, PlayerFailureIsReported)
{
    writeini(RecordValues{});
    qc::Program& p = start();
    open(song());
    fake.shell.works = false;
    fake.box.answer(ui::idok);
    p.mainform().playsrcmenu.click();
    ASSERT_EQ(fake.box.shown.size(), 1u);
    EXPECT_EQ(fake.box.shown[0].caption, "unable to play");
    EXPECT_TRUE(p.mainform().playsrcmenu.enabled());
}

}  // namespace
