// Which settings file a run uses: a writable one beside the executable, or
// the user's own, made once from the installed default.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings_record.h"
#include "shell/settings_location.h"
#include "support/harness.h"

namespace {

namespace fs = std::filesystem;
using qctest::Bytes;

struct LocationFixture : ::testing::Test {
    qctest::TempDir dir;
    qc::SettingsPlaces places;
    Bytes defaultbytes;

    LocationFixture()
    {
        fs::create_directories(dir.path("bin"));
        fs::create_directories(dir.path("share"));
        places.exedir = dir.path("bin");
        places.configdir = dir.path("config");
        places.datadir = dir.path("share");
        shelltest::RecordValues v;
        v.savedir.clear();
        v.loaddir.clear();
        v.toolbarmode = 2;
        defaultbytes = shelltest::record(v);
        dir.write("share/mp3qc.ini", defaultbytes);
    }

    std::string own() const { return dir.path("config/quillcut/mp3qc.ini"); }

    // Nothing but the settings file itself in the user's folder (no
    // half-written copies left behind).
    std::size_t entriesinfolder() const
    {
        std::error_code ec;
        std::size_t n = 0;
        for (auto it = fs::directory_iterator(dir.path("config/quillcut"), ec);
             !ec && it != fs::directory_iterator(); ++it)
            ++n;
        return n;
    }
};

TEST(SettingsLocation, UserConfigDirectoryFromTheEnvironment)
{
    EXPECT_EQ(qc::userconfigdir("/xdg/conf/", "/home/u"), "/xdg/conf");
    EXPECT_EQ(qc::userconfigdir("relative/conf", "/home/u/"), "/home/u/.config");
    EXPECT_EQ(qc::userconfigdir("", "/home/u"), "/home/u/.config");
    EXPECT_EQ(qc::userconfigdir(nullptr, "/"), "/.config");
    EXPECT_EQ(qc::userconfigdir(nullptr, "home"), "");
    EXPECT_EQ(qc::userconfigdir(nullptr, nullptr), "");

    EXPECT_EQ(qc::settingsdirectory("/home/u/.config/quillcut/mp3qc.ini"), "/home/u/.config/quillcut");
    EXPECT_EQ(qc::settingsdirectory("/mp3qc.ini"), "/");
}

TEST_F(LocationFixture, FirstStartCopiesTheDefaultOnceAndKeepsTheUsersFile)
{
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_EQ(qctest::readbytes(own()), defaultbytes);
    EXPECT_EQ(entriesinfolder(), 1u);
    // the user's folder is private and the copy writable by its owner
    EXPECT_EQ(fs::status(dir.path("config/quillcut")).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_NE(fs::status(own()).permissions() & fs::perms::owner_write, fs::perms::none);

    // later starts use the user's file as it is, whatever it holds
    Bytes changed = defaultbytes;
    changed[520] = 0;
    dir.write("config/quillcut/mp3qc.ini", changed);
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_EQ(qctest::readbytes(own()), changed);

    dir.write("config/quillcut/mp3qc.ini", Bytes(544, 1));  // wrong length: not replaced
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_EQ(qctest::readbytes(own()).size(), 544u);
    EXPECT_EQ(qctest::readbytes(dir.path("share/mp3qc.ini")), defaultbytes);
}

TEST_F(LocationFixture, WritableFileBesideTheExecutableWins)
{
    dir.write("bin/mp3qc.ini", defaultbytes);
    EXPECT_EQ(qc::settingslocation(places), dir.path("bin/mp3qc.ini"));
    EXPECT_FALSE(fs::exists(dir.path("config")));

    // a read-only one (an installed folder) is passed over
    fs::permissions(dir.path("bin/mp3qc.ini"), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_EQ(qctest::readbytes(own()), defaultbytes);

    // without any configuration directory the old place is all there is
    places.configdir.clear();
    EXPECT_EQ(qc::settingslocation(places), dir.path("bin/mp3qc.ini"));
}

TEST_F(LocationFixture, NoCopyWithoutAGoodDefaultOrAFolder)
{
    // a missing default: nothing is made, the reader will reset with its message
    fs::remove(dir.path("share/mp3qc.ini"));
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_FALSE(fs::exists(own()));

    // a default of the wrong length is not copied either
    dir.write("share/mp3qc.ini", Bytes(542, 0));
    EXPECT_EQ(qc::settingslocation(places), own());
    EXPECT_FALSE(fs::exists(own()));
    EXPECT_EQ(entriesinfolder(), 0u);

    // a configuration directory that cannot be made (a file is in the way)
    dir.write("share/mp3qc.ini", defaultbytes);
    dir.write("blocked", Bytes{1});
    places.configdir = dir.path("blocked");
    EXPECT_EQ(qc::settingslocation(places), dir.path("blocked/quillcut/mp3qc.ini"));
    EXPECT_EQ(qctest::readbytes(dir.path("blocked")), Bytes{1});

    EXPECT_FALSE(qc::createfromdefault(dir.path("nowhere/x/mp3qc.ini"), dir.path("share/mp3qc.ini")));
}

}  // namespace
