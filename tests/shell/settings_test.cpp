#include <gtest/gtest.h>

#include <filesystem>

#include "settings_record.h"
#include "shell/settings.h"
#include "support/harness.h"

namespace {

using qctest::Bytes;
using shelltest::getint;
using shelltest::getshort;
using shelltest::record;
using shelltest::RecordValues;

struct SettingsFixture : ::testing::Test {
    qctest::TempDir dir;
    qctest::ScriptedBox box;
    ui::Form window{"mainqcform"};
    std::string savedir;
    qc::Settings settings{window, savedir};

    SettingsFixture()
    {
        window.setrect({0, 0, 300, 547});
        settings.setstartdirectory("/home/someone");
        settings.path = dir.path("mp3qc.ini");
    }

    void expectresetmessage()
    {
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, "Error reading configuration file.\r\nParameters reset.");
        EXPECT_EQ(box.shown[0].caption, "error");
        EXPECT_EQ(box.shown[0].style, 48);
    }

    void expectresetvalues()
    {
        EXPECT_EQ(savedir, "/home/someone/");
        EXPECT_EQ(settings.loaddir, "/home/someone");
        EXPECT_EQ(settings.toolbarmode, 3);
        EXPECT_EQ(settings.toolbarstyle, 3);
        EXPECT_EQ(settings.errorpolicy, 1);
        EXPECT_EQ(window.rect().top, 0);
        EXPECT_EQ(window.rect().left, 0);
    }
};

TEST(SettingsPath, BesideTheExecutable)
{
    EXPECT_EQ(qc::settingspath("/opt/quillcut/bin/quillcut"), "/opt/quillcut/bin/mp3qc.ini");
    EXPECT_EQ(qc::settingspath("/quillcut"), "/mp3qc.ini");
    // A long directory is kept whole: a cut path would name some other file.
    const std::string deep = "/" + std::string(300, 'd') + "/quillcut";
    EXPECT_EQ(qc::settingspath(deep), "/" + std::string(300, 'd') + "/mp3qc.ini");
}

TEST(SettingsPath, StartDirectoryIsHome)
{
    const char* old = std::getenv("HOME");
    const std::string keep = old ? old : "";
    ::setenv("HOME", "/home/tester/", 1);
    EXPECT_EQ(qc::homedirectory(), "/home/tester");
    ::setenv("HOME", "relative", 1);
    EXPECT_EQ(qc::homedirectory(), "/");
    ::unsetenv("HOME");
    EXPECT_EQ(qc::homedirectory(), "/");
    if (old)
        ::setenv("HOME", keep.c_str(), 1);
    EXPECT_EQ(qc::withslash("/"), "/");
    EXPECT_EQ(qc::withslash("/a"), "/a/");
}

TEST_F(SettingsFixture, MissingFileResetsAndIsNeverCreated)
{
    settings.toolbarmode = 0;
    settings.errorpolicy = 0;
    box.answer(ui::idok);
    settings.readsettings(box);
    expectresetmessage();
    expectresetvalues();

    EXPECT_FALSE(settings.writesettings());
    EXPECT_FALSE(std::filesystem::exists(settings.path));
}

TEST_F(SettingsFixture, ReadsEveryFieldAtItsOffset)
{
    RecordValues v;
    v.savedir = "/srv/saved/";
    v.loaddir = "/srv/loaded";
    v.top = 123;
    v.left = -7;
    v.toolbarmode = 2;
    v.toolbarstyle = 2;
    v.errorpolicy = 2;
    v.infoleft = 300;
    v.infotop = 400;
    v.autousestart = 1;
    v.autouseend = 3;
    v.autosubstart = 12;
    v.autosubend = 99;
    v.autoleft = 70000;
    v.autotop = -2;
    dir.write("mp3qc.ini", record(v));

    settings.readsettings(box);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(savedir, "/srv/saved/");
    EXPECT_EQ(settings.loaddir, "/srv/loaded");
    EXPECT_EQ(window.rect().top, 123);
    EXPECT_EQ(window.rect().left, -7);  // kept on the screen later, not here
    EXPECT_EQ(settings.toolbarmode, 2);
    EXPECT_EQ(settings.toolbarstyle, 2);
    EXPECT_EQ(settings.errorpolicy, 2);
    EXPECT_EQ(settings.infoleft, 300);
    EXPECT_EQ(settings.infotop, 400);
    EXPECT_EQ(settings.autos.autousestart, 1);
    EXPECT_EQ(settings.autos.autouseend, 3);
    EXPECT_EQ(settings.autos.autosubstart, 12);
    EXPECT_EQ(settings.autos.autosubend, 99);
    EXPECT_EQ(settings.autos.autoleft, 70000);
    EXPECT_EQ(settings.autos.autotop, -2);
}

TEST_F(SettingsFixture, WriteRoundTripsInPlace)
{
    dir.write("mp3qc.ini", record(RecordValues{}));
    settings.readsettings(box);

    savedir = "/x/y/";
    settings.loaddir = "/x";
    window.setrect({33, 44, 300, 547});
    settings.toolbarmode = 1;
    settings.toolbarstyle = 1;
    settings.errorpolicy = 0;
    settings.infoleft = -5;
    settings.infotop = 6;
    settings.autos = {2, 1, 5, 6, 777, 888};
    ASSERT_TRUE(settings.writesettings());

    const Bytes b = qctest::readbytes(settings.path);
    ASSERT_EQ(b.size(), 543u);
    EXPECT_EQ(getshort(b, 0), "/x/y/");
    EXPECT_EQ(getshort(b, 256), "/x");
    EXPECT_EQ(getint(b, 512), 44);
    EXPECT_EQ(getint(b, 516), 33);
    EXPECT_EQ(b[520], 1);
    EXPECT_EQ(b[521], 1);
    EXPECT_EQ(b[522], 0);
    EXPECT_EQ(getint(b, 523), -5);
    EXPECT_EQ(getint(b, 527), 6);
    EXPECT_EQ(b[531], 2);
    EXPECT_EQ(b[532], 1);
    EXPECT_EQ(b[533], 5);
    EXPECT_EQ(b[534], 6);
    EXPECT_EQ(getint(b, 535), 777);
    EXPECT_EQ(getint(b, 539), 888);

    // and a second program reads back what the first one wrote
    ui::Form other{"mainqcform"};
    std::string otherdir;
    qc::Settings again(other, otherdir);
    again.path = settings.path;
    again.readsettings(box);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(otherdir, "/x/y/");
    EXPECT_EQ(again.loaddir, "/x");
    EXPECT_EQ(other.rect().left, 33);
    EXPECT_EQ(again.autos.autotop, 888);
}

TEST_F(SettingsFixture, OutOfRangeValuesAreReadAsTheyAreAndClampedOnWrite)
{
    RecordValues v;
    v.toolbarmode = 0;
    v.toolbarstyle = 7;
    v.errorpolicy = 9;
    v.autousestart = 200;
    dir.write("mp3qc.ini", record(v));
    settings.readsettings(box);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(settings.toolbarmode, 0);
    EXPECT_EQ(settings.toolbarstyle, 7);
    EXPECT_EQ(settings.errorpolicy, 9);

    settings.toolbarmode = 6;
    ASSERT_TRUE(settings.writesettings());
    EXPECT_EQ(settings.toolbarmode, 3);
    EXPECT_EQ(settings.toolbarstyle, 3);
    EXPECT_EQ(settings.errorpolicy, 1);
    const Bytes b = qctest::readbytes(settings.path);
    EXPECT_EQ(b[520], 3);
    EXPECT_EQ(b[521], 3);
    EXPECT_EQ(b[522], 1);
    EXPECT_EQ(b[531], 200);  // auto-use values are not the writer's to correct
}

TEST_F(SettingsFixture, WrongLengthIsUnreadableAndKeepsItsLength)
{
    Bytes b = qctest::operator+(record(RecordValues{}), Bytes{0x5A});
    dir.write("mp3qc.ini", b);
    box.answer(ui::idok);
    settings.readsettings(box);
    expectresetmessage();
    expectresetvalues();

    settings.loaddir = "/changed";
    ASSERT_TRUE(settings.writesettings());
    const Bytes after = qctest::readbytes(settings.path);
    ASSERT_EQ(after.size(), 544u);
    EXPECT_EQ(after[543], 0x5A);
    EXPECT_EQ(getshort(after, 256), "/changed");

    // still the wrong length, so still reset at the next start
    box.clear();
    box.answer(ui::idok);
    settings.readsettings(box);
    expectresetmessage();

    dir.write("mp3qc.ini", Bytes(542, 0));
    box.clear();
    box.answer(ui::idok);
    settings.readsettings(box);
    expectresetmessage();
}

TEST_F(SettingsFixture, ReadOnlyFileIsUnreadableAndUntouched)
{
    RecordValues v;
    v.toolbarmode = 1;
    v.toolbarstyle = 1;
    dir.write("mp3qc.ini", record(v));
    std::filesystem::permissions(settings.path, std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::group_read |
                                                    std::filesystem::perms::others_read);
    box.answer(ui::idok);
    settings.readsettings(box);
    expectresetmessage();
    expectresetvalues();

    const Bytes before = qctest::readbytes(settings.path);
    EXPECT_FALSE(settings.writesettings());
    EXPECT_EQ(qctest::readbytes(settings.path), before);
}

TEST_F(SettingsFixture, EmptyDirectoriesKeepTheStartValues)
{
    RecordValues v;
    v.savedir.clear();
    v.loaddir.clear();
    dir.write("mp3qc.ini", record(v));
    settings.readsettings(box);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(savedir, "/home/someone/");
    EXPECT_EQ(settings.loaddir, "/home/someone");
}

}  // namespace
