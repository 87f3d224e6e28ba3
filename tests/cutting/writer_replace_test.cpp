// Saving onto the source: through a temporary file that takes the source's
// place in one rename, under any spelling of the source's name, and never
// at the cost of the source when something fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cutting/replacement.h"
#include "writer_fixture.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

const std::vector<Bytes> ten = distinctframes(10);
const Bytes head = id3v2tag(64), foot = id3v1tag("replace");
const Bytes original = head + join(ten, 0, 10) + foot;
const Bytes trimmed = head + join(ten, 1, 8) + foot;  // one frame off the start, two off the end

void trim(SaveRig& rig)
{
    rig.cut(0, 1);
    rig.cut(1, 2);
}

TEST(ReplaceSource, SameNameGoesThroughTheTemporaryFile)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(original));
    ui::MainForm& w = rig.loader.form;
    trim(rig);
    std::string temp;
    bool renamed = false;
    rig.writer.renamer = [&](const std::string& from, const std::string& to) {
        renamed = true;
        temp = from;
        // a name of its own beside the source, private to this save
        EXPECT_EQ(fs::path(from).parent_path(), fs::path(rig.source).parent_path());
        EXPECT_TRUE(from.ends_with(".tmpmp3")) << from;
        EXPECT_NE(from, rig.dir.path("song.tmpmp3"));
        EXPECT_EQ(to, fs::canonical(rig.source).string());
        // the moment before the replacement: both contents are on the disk
        EXPECT_EQ(readbytes(from), trimmed);
        EXPECT_EQ(readbytes(rig.source), original);
        EXPECT_EQ(rig.writer.targetname, temp);
        return qc::renamefile(from, to);
    };
    EXPECT_EQ(rig.saveto(rig.source), trimmed);
    EXPECT_TRUE(renamed);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_TRUE(rig.writer.saveok);
    EXPECT_TRUE(rig.writer.replacesource);
    EXPECT_EQ(rig.writer.targetname, rig.source);
    EXPECT_TRUE(w.playbut.enabled());
    EXPECT_FALSE(w.playsrcbut.enabled() || w.playsrcmenu.enabled());
    EXPECT_FALSE(w.savebut.enabled() || w.savemenu.enabled());
    EXPECT_EQ(rig.loader.file.cutframes[0], 0);
    EXPECT_EQ(rig.loader.file.cutframes[1], 0);
    EXPECT_EQ(w.tbox0.text(), "0");
    EXPECT_EQ(w.tbox1.text(), "0");

    // the record describes the old content now: no output may come from it
    w.cmfrup0.click();
    w.headtagcheck.click();
    EXPECT_FALSE(w.savebut.enabled() || w.savemenu.enabled());
    rig.writer.savebutClick();
    rig.writer.writeoutput();
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(readbytes(rig.source), trimmed);

    // a load of the new content makes Save as available again; the reload
    // keeps the cut of one frame and the checked head tag box set above
    rig.writer.renamer = qc::renamefile;
    ASSERT_TRUE(rig.loader.reload());
    EXPECT_EQ(rig.loader.file.framecount, 7);
    EXPECT_TRUE(w.savebut.enabled());
    EXPECT_EQ(rig.saveto(rig.source), join(ten, 2, 8) + foot);
}

TEST(ReplaceSource, OtherSpellingsOfTheSourceAreReplacementsToo)
{
    {
        // relative parts in the name
        SaveRig rig;
        ASSERT_TRUE(rig.load(original));
        fs::create_directory(rig.dir.path("sub"));
        trim(rig);
        rig.saveto(rig.dir.path("sub/../song.mp3"));
        EXPECT_TRUE(rig.writer.replacesource);
        EXPECT_EQ(readbytes(rig.source), trimmed);
        EXPECT_FALSE(fs::exists(rig.dir.path("song.tmpmp3")));
    }
    {
        // a symbolic link chosen as the target: the file gets the content, the link stays
        SaveRig rig;
        ASSERT_TRUE(rig.load(original));
        fs::create_symlink(rig.source, rig.dir.path("link.mp3"));
        trim(rig);
        rig.saveto(rig.dir.path("link.mp3"));
        EXPECT_TRUE(rig.writer.replacesource);
        EXPECT_TRUE(fs::is_symlink(rig.dir.path("link.mp3")));
        EXPECT_FALSE(fs::is_symlink(rig.source));
        EXPECT_EQ(readbytes(rig.source), trimmed);
        EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path("")), fs::directory_iterator()), 2);
    }
    {
        // the source loaded through a link in another directory, saved onto its own name
        SaveRig rig;
        fs::create_directory(rig.dir.path("links"));
        const std::string real = rig.dir.write("real.mp3", original);
        const std::string link = rig.dir.path("links/song.mp3");
        fs::create_symlink(real, link);
        ASSERT_TRUE(rig.loadfile(link));
        trim(rig);
        rig.saveto(link);
        EXPECT_TRUE(rig.writer.replacesource);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), real);
        EXPECT_EQ(readbytes(real), trimmed);
        EXPECT_EQ(rig.writer.targetname, link);
        EXPECT_FALSE(fs::exists(rig.dir.path("real.tmpmp3")));
        EXPECT_FALSE(fs::exists(rig.dir.path("links/song.tmpmp3")));
    }
    {
        // a hard link: the name chosen gets the new content (the in-place
        // rules apply to it), the source's other name keeps the old
        SaveRig rig;
        fs::create_hard_link(rig.dir.write("song.mp3", original), rig.dir.path("hard.mp3"));
        ASSERT_TRUE(rig.loadfile(rig.dir.path("song.mp3")));
        trim(rig);
        rig.saveto(rig.dir.path("hard.mp3"));
        EXPECT_TRUE(rig.writer.replacesource);
        EXPECT_TRUE(rig.writer.saveok);
        EXPECT_EQ(readbytes(rig.dir.path("hard.mp3")), trimmed);
        EXPECT_EQ(readbytes(rig.source), original);
        EXPECT_EQ(rig.writer.report.otherlinks, 1);
    }
}

TEST(ReplaceSource, KeepsThePermissionsOfTheReplacedFile)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(original));
    fs::permissions(rig.source, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // (a change of mode is a change of the file: it is loaded again)
    ASSERT_TRUE(rig.loadfile(rig.source));
    trim(rig);
    rig.saveto(rig.source);
    EXPECT_EQ(fs::status(rig.source).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ReplaceSource, FailedRenameLeavesTheSourceAsItWas)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(original));
    ui::MainForm& w = rig.loader.form;
    trim(rig);
    rig.writer.targetname = "earlier.mp3";
    rig.writer.renamer = [](const std::string&, const std::string&) { return false; };
    rig.loader.box.answer(ui::idok);
    rig.saveto(rig.source);
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"Disk or  unknown error."});
    EXPECT_EQ(readbytes(rig.source), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path("")), fs::directory_iterator()), 1);
    EXPECT_FALSE(rig.writer.saveok);
    EXPECT_EQ(rig.writer.targetname, "earlier.mp3");
    EXPECT_FALSE(w.playbut.enabled());
    // the record still describes the file on disk: the same save can be tried again
    EXPECT_TRUE(w.savebut.enabled());
    EXPECT_EQ(rig.loader.file.cutframes[0], 1);
    rig.writer.renamer = qc::renamefile;
    EXPECT_EQ(rig.saveto(rig.source), trimmed);
}

TEST(ReplaceSource, WhatLiesUnderTheTemporaryNameNeverHarmsTheSource)
{
    {
        // a link to the source under the old fixed temporary name is left alone
        SaveRig rig;
        ASSERT_TRUE(rig.load(original));
        fs::create_symlink(rig.source, rig.dir.path("song.tmpmp3"));
        trim(rig);
        EXPECT_EQ(rig.saveto(rig.source), trimmed);
        EXPECT_TRUE(rig.writer.saveok);
        EXPECT_TRUE(fs::is_symlink(rig.dir.path("song.tmpmp3")));
    }
    {
        // a user's own file of that name is never touched
        SaveRig rig;
        ASSERT_TRUE(rig.load(original));
        rig.dir.write("song.tmpmp3", filler(99999, 0x47));
        trim(rig);
        EXPECT_EQ(rig.saveto(rig.source), trimmed);
        EXPECT_EQ(readbytes(rig.dir.path("song.tmpmp3")), filler(99999, 0x47));
    }
    {
        // nor a folder of that name
        SaveRig rig;
        ASSERT_TRUE(rig.load(original));
        fs::create_directories(rig.dir.path("song.tmpmp3/inside"));
        trim(rig);
        EXPECT_EQ(rig.saveto(rig.source), trimmed);
        EXPECT_TRUE(rig.writer.saveok);
        EXPECT_TRUE(fs::is_directory(rig.dir.path("song.tmpmp3/inside")));
    }
}

TEST(ReplacementNames, TemporaryNameAndIdentity)
{
    EXPECT_EQ(qc::temporaryname("/music/song.mp3"), "/music/song.tmpmp3");
    EXPECT_EQ(qc::temporaryname("/a/x.mpeg"), "/a/x.mtmpmp3");

    TempDir dir;
    std::string a = dir.write("song.mp3", {1, 2, 3});
    std::string b = dir.write("SONG.MP3", {1, 2, 3});
    EXPECT_TRUE(qc::samefile(a, a));
    EXPECT_FALSE(qc::samefile(a, b));
    EXPECT_FALSE(qc::samefile(a, dir.path("absent.mp3")));
    EXPECT_FALSE(qc::samefile(dir.path("absent.mp3"), dir.path("absent.mp3")));
}

}  // namespace

namespace qctest {
namespace {

// Whether this process maps a file by that name, or one deleted from it.
bool mapsfilenamed(const std::string& path)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(path) != std::string::npos)
            return true;
    return false;
}

}  // namespace

// The load lets its map of the source go when it ends: nothing holds a
// replaced source (or a deleted one) mapped, so its disk space goes with it.
TEST(ReplaceSource, ALargeReplacedSourceIsNoLongerMappedAfterTheSave)
{
    SaveRig rig;
    const std::vector<Bytes> many = distinctframes(10);
    const Bytes block = join(many, 0, 10);
    Bytes big = head;
    for (int i = 0; i < 4200; ++i)  // 42,000 frames, 17.5 MB
        big.insert(big.end(), block.begin(), block.end());
    big.insert(big.end(), foot.begin(), foot.end());
    ASSERT_TRUE(rig.load(big));
    const std::string real = fs::canonical(rig.source).string();
    EXPECT_FALSE(mapsfilenamed(real));
    trim(rig);
    const Bytes out = rig.saveto(rig.source);
    ASSERT_TRUE(rig.writer.saveok);
    EXPECT_EQ(out.size(), big.size() - many[0].size() - many[8].size() - many[9].size());
    EXPECT_TRUE(std::equal(out.begin() + static_cast<std::ptrdiff_t>(head.size()), out.end() - 128,
                           big.begin() + static_cast<std::ptrdiff_t>(head.size() + many[0].size())));
    EXPECT_FALSE(mapsfilenamed(real));
}

}  // namespace qctest
