// Save as: when there is something to save, the dialog, the window's state
// during a save, and the failures that leave the user's files alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "writer_fixture.h"
#include "support/open_files.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

const std::vector<Bytes> ten = distinctframes(10);

TEST(SaveCommand, SavesOnlyWhenSomethingWouldChange)
{
    SaveRig rig;
    rig.loader.box.answer(ui::idno).answer(ui::idyes);  // unknown data at the end: included
    ASSERT_TRUE(rig.load(id3v2tag(20) + join(ten, 0, 10) + filler(20, 0x45)));
    ui::MainForm& w = rig.loader.form;

    rig.loader.box.clear();
    rig.loader.box.answer(ui::idok);
    rig.writer.savebutClick();
    ASSERT_EQ(rig.loader.box.shown.size(), 1u);
    EXPECT_EQ(rig.loader.box.shown[0].text, "No changes - will not save.");
    EXPECT_EQ(rig.loader.box.shown[0].style, 0);
    EXPECT_EQ(rig.loader.box.shown[0].caption, "You didn't edit the file");
    EXPECT_TRUE(rig.dialogs.shown.empty());

    // each kind of change leads to the dialog
    auto opensdialog = [&](const char* what) {
        std::size_t before = rig.dialogs.shown.size();
        rig.dialogs.cancel();
        rig.writer.savebutClick();
        EXPECT_EQ(rig.dialogs.shown.size(), before + 1) << what;
    };
    rig.cut(1, 1);
    opensdialog("end cut");
    rig.cut(1, 0);
    rig.check(w.headtagcheck);
    opensdialog("head tag removed");
    w.headtagcheck.setchecked(false);
    rig.loader.file.includebetween = false;
    opensdialog("unknown data left out");
    rig.loader.file.includebetween = true;

    // a removal box that is not shown does not count
    w.riffcheck.setchecked(true);
    ASSERT_FALSE(w.riffcheck.visible());
    rig.loader.box.answer(ui::idok);
    rig.writer.savebutClick();
    EXPECT_EQ(rig.dialogs.shown.size(), 3u);

    // while a load or a save runs, Save as does nothing
    rig.cut(0, 1);
    rig.loader.file.busy = true;
    rig.writer.savebutClick();
    w.savebut.click();
    rig.loader.file.busy = false;
    EXPECT_EQ(rig.dialogs.shown.size(), 3u);

    // the button and the menu item both reach the command
    rig.dialogs.cancel().cancel();
    w.savebut.click();
    w.savemenu.click();
    EXPECT_EQ(rig.dialogs.shown.size(), 5u);
    EXPECT_TRUE(rig.loader.box.drained());
}

TEST(SaveCommand, CutsLeavingNoFrameAreRefusedBeforeTheDialog)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    rig.cut(0, 6);
    rig.cut(1, 4);
    rig.loader.box.answer(ui::idok);
    rig.writer.savebutClick();
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"Time to delete must be smaller than total time."});
    EXPECT_EQ(rig.loader.box.shown.back().style, 48);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(rig.settingswrites, 0);
    EXPECT_FALSE(rig.loader.file.busy);
    EXPECT_TRUE(rig.loader.form.filemenu.enabled());
    EXPECT_TRUE(rig.loader.form.optmenu.enabled());
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path("")), fs::directory_iterator()), 1);
}

TEST(SaveCommand, DialogProposesTheSourceNameOnceAndCancelChangesNothing)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10), "first.mp3"));
    const std::string startdir = rig.writer.savedir;
    rig.cut(0, 1);

    rig.dialogs.cancel();
    rig.writer.savebutClick();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    const ui::FileDialog& d = rig.dialogs.shown[0];
    EXPECT_EQ(d.title, " - choose target file - ");
    EXPECT_EQ(d.filter, "Mp3 files|*.mp3|all files|*.*");
    EXPECT_TRUE(d.saving && d.overwriteprompt && d.hidereadonly && d.pathmustexist && d.resizable);
    EXPECT_EQ(d.initialdir, startdir);
    EXPECT_EQ(d.filename, "first.mp3");
    EXPECT_FALSE(rig.loader.file.proposename);
    EXPECT_EQ(rig.writer.savedir, startdir);
    EXPECT_EQ(rig.settingswrites, 0);
    EXPECT_FALSE(rig.writer.saveok);
    EXPECT_FALSE(rig.loader.file.busy);

    // into a subdirectory: savedir follows the target, the next dialog keeps its name
    fs::create_directory(rig.dir.path("sub"));
    const std::string target = rig.dir.path("sub") + "/out.mp3";
    rig.saveto(target);
    EXPECT_EQ(rig.writer.savedir, rig.dir.path("sub") + "/");
    EXPECT_EQ(rig.settingswrites, 1);
    rig.dialogs.cancel();
    rig.writer.savebutClick();
    EXPECT_EQ(rig.dialogs.shown.back().filename, target);
    EXPECT_EQ(rig.dialogs.shown.back().initialdir, rig.dir.path("sub") + "/");

    // a new load proposes the name again
    ASSERT_TRUE(rig.load(join(ten, 0, 10), "second.mp3"));
    rig.cut(0, 1);
    rig.dialogs.cancel();
    rig.writer.savebutClick();
    EXPECT_EQ(rig.dialogs.shown.back().filename, "second.mp3");
}

TEST(SaveCommand, WindowStateDuringAndAfterASave)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    ui::MainForm& w = rig.loader.form;
    const std::string target = rig.dir.path("out.mp3");
    rig.cut(0, 2);

    bool dialogseen = false, settingsseen = false;
    rig.dialogs.whileopen = [&](const ui::FileDialog&) {
        dialogseen = true;
        EXPECT_TRUE(rig.loader.file.busy);
        EXPECT_FALSE(w.filemenu.enabled());
        EXPECT_FALSE(w.optmenu.enabled());
    };
    rig.writer.writesettings = [&] {
        settingsseen = true;
        EXPECT_EQ(rig.writer.savedir, rig.dir.path(""));
        EXPECT_TRUE(w.pbar.visible());
        EXPECT_FALSE(w.filenamelabel.visible());
        EXPECT_EQ(w.cursor(), ui::Cursor::Hourglass);
        EXPECT_FALSE(fs::exists(rig.writer.targetname)) << "settings are written before the output is created";
    };
    EXPECT_EQ(rig.saveto(target), join(ten, 2, 10));
    EXPECT_TRUE(dialogseen && settingsseen);

    EXPECT_TRUE(rig.writer.saveok);
    EXPECT_FALSE(rig.writer.replacesource);
    EXPECT_EQ(rig.writer.targetname, target);
    EXPECT_FALSE(rig.loader.file.busy);
    EXPECT_TRUE(w.filemenu.enabled() && w.optmenu.enabled());
    EXPECT_FALSE(w.pbar.visible());
    EXPECT_TRUE(w.filenamelabel.visible());
    EXPECT_EQ(w.cursor(), ui::Cursor::Normal);
    EXPECT_TRUE(w.playbut.enabled() && w.playmenu.enabled());
    EXPECT_TRUE(w.playsrcbut.enabled() && w.playsrcmenu.enabled());
    // the same trim can be saved again under another name
    EXPECT_TRUE(w.savebut.enabled() && w.savemenu.enabled());
    EXPECT_EQ(rig.loader.file.cutframes[0], 2);
    EXPECT_EQ(rig.saveto(rig.dir.path("again.mp3")), join(ten, 2, 10));
}

TEST(SaveCommand, ExistingTargetsAreOverwrittenAndLetterCaseMakesAnotherFile)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    const Bytes source = readbytes(rig.source);
    const std::string upper = rig.dir.write("SONG.MP3", filler(5000, 0x46));
    rig.cut(1, 3);
    EXPECT_EQ(rig.saveto(upper), join(ten, 0, 7));
    EXPECT_FALSE(rig.writer.replacesource);
    EXPECT_EQ(readbytes(rig.source), source);
    EXPECT_TRUE(rig.loader.form.playsrcbut.enabled());
    EXPECT_FALSE(fs::exists(rig.dir.path("SONG.tmpmp3")));
}

TEST(SaveCommand, FailuresShowTheDiskErrorAndTouchNothingElse)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    const Bytes source = readbytes(rig.source);
    ui::MainForm& w = rig.loader.form;
    rig.cut(0, 1);

    // the target cannot be created
    rig.loader.box.answer(ui::idok);
    rig.saveto(rig.dir.path("missing/out.mp3"));
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"Disk or  unknown error."});
    // and under it what happened
    EXPECT_EQ(rig.causes(), std::vector<std::string>{"The target: No such file or directory"});
    EXPECT_EQ(rig.loader.box.shown.back().style, 48);
    EXPECT_FALSE(rig.writer.saveok);
    EXPECT_FALSE(rig.loader.file.busy);
    EXPECT_TRUE(w.filemenu.enabled() && w.optmenu.enabled());
    EXPECT_EQ(w.cursor(), ui::Cursor::Normal);
    EXPECT_FALSE(w.pbar.visible());
    EXPECT_TRUE(w.filenamelabel.visible());
    EXPECT_FALSE(w.playbut.enabled());
    EXPECT_FALSE(qctest::openinprocess(rig.loader.file.sourcename));
    EXPECT_FALSE(qctest::openinprocess(rig.writer.targetname));

    // a name longer than 255 characters is refused, not cut into another name
    rig.loader.box.clear();
    const std::string dirbefore = rig.writer.savedir;
    const int writesbefore = rig.settingswrites;
    std::string longname = rig.dir.path(std::string(250, 'n') + ".mp3");
    rig.loader.box.answer(ui::idok);
    rig.dialogs.choose(longname);
    rig.writer.savebutClick();
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"Disk or  unknown error."});
    EXPECT_EQ(rig.causes(), std::vector<std::string>{"The target's name is longer than 255 characters."});
    EXPECT_EQ(rig.writer.savedir, dirbefore);
    EXPECT_EQ(rig.settingswrites, writesbefore);
    EXPECT_FALSE(fs::exists(longname.substr(0, 255)));
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path("")), fs::directory_iterator()), 1);
    EXPECT_EQ(readbytes(rig.source), source);
}

TEST(SaveCommand, SourceChangedSinceTheLoadIsRefused)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    rig.cut(0, 1);
    auto refused = [&](const char* what) {
        rig.loader.box.clear();
        rig.loader.box.answer(ui::idok);
        rig.writer.savebutClick();
        EXPECT_EQ(rig.errors(), std::vector<std::string>{"Disk or  unknown error."}) << what;
        EXPECT_EQ(rig.causes(), std::vector<std::string>{"It changed on disk after it was loaded: reload it."}) << what;
        EXPECT_TRUE(rig.dialogs.shown.empty()) << what;
        EXPECT_FALSE(rig.writer.saveok) << what;
        EXPECT_FALSE(rig.loader.file.busy) << what;
    };
    rig.dir.write("song.mp3", join(ten, 0, 10) + ten[0]);
    refused("grown");
    rig.dir.write("song.mp3", join(ten, 0, 9));
    refused("shrunk");
    fs::remove(rig.source);
    refused("deleted");
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path("")), fs::directory_iterator()), 0);

    // a file of the same size and content put in its place is another file
    rig.dir.write("song.mp3", join(ten, 0, 10));
    refused("put back");

    // changed while the dialog was open
    ASSERT_TRUE(rig.loadfile(rig.source));
    rig.cut(0, 1);
    rig.loader.box.clear();
    rig.loader.box.answer(ui::idok);
    rig.dialogs.whileopen = [&](const ui::FileDialog&) { rig.dir.write("song.mp3", join(ten, 0, 10) + ten[3]); };
    rig.saveto(rig.dir.path("out.mp3"));
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"Disk or  unknown error."});
    EXPECT_EQ(rig.causes(), std::vector<std::string>{"It changed on disk after it was loaded: reload it."});
    EXPECT_FALSE(rig.writer.saveok);
}

}  // namespace
