// The options file beside the settings record, and the Options menu item
// that it keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "fake_platform.h"
#include "settings_record.h"
#include "shell/options.h"
#include "shell/program.h"

namespace {

namespace fs = std::filesystem;

TEST(OptionsFile, MissingOrBrokenGivesDefaultsAndWritingKeepsOtherKeys)
{
    qctest::TempDir dir;
    const std::string path = qc::optionspath(dir.path("conf/mp3qc.ini"));
    EXPECT_EQ(path, dir.path("conf/quillcut.json"));
    EXPECT_TRUE(qc::readoptions(path).exactoutput);
    for (const char* text : {"", "{", "[true]", "{\"exact_output\": \"no\"}", "\xff\xfe"}) {
        dir.write("bad.json", qctest::Bytes(text, text + std::strlen(text)));
        EXPECT_TRUE(qc::readoptions(dir.path("bad.json")).exactoutput) << text;
    }
    // a directory that does not exist cannot take the file
    EXPECT_FALSE(qc::writeoptions(path, {false}));

    const std::string there = dir.write("quillcut.json", qctest::Bytes{'{', '"', 'k', '"', ':', '1', '}'});
    ASSERT_TRUE(qc::writeoptions(there, {false}));
    EXPECT_FALSE(qc::readoptions(there).exactoutput);
    const qctest::Bytes after = qctest::readbytes(there);
    EXPECT_NE(std::string(after.begin(), after.end()).find("\"k\": 1"), std::string::npos);
    ASSERT_TRUE(qc::writeoptions(there, {true}));
    EXPECT_TRUE(qc::readoptions(there).exactoutput);
    EXPECT_FALSE(fs::exists(there + ".new"));
}

struct ExactMenu : ::testing::Test {
    qctest::TempDir dir;
    shelltest::FakePlatform fake;
    std::unique_ptr<qc::Program> program;

    ExactMenu() { fs::create_directories(dir.path("bin")); }
    qc::Program& start()
    {
        program = std::make_unique<qc::Program>(fake.platform, dir.path("bin/quillcut"));
        program->start();
        return *program;
    }
};

TEST_F(ExactMenu, CheckedByDefaultAndKeptBesideTheRecordWithoutTouchingIt)
{
    dir.write("bin/mp3qc.ini", shelltest::record({}));
    const qctest::Bytes record = qctest::readbytes(dir.path("bin/mp3qc.ini"));
    qc::Program& p = start();
    EXPECT_EQ(p.mainform().exactmenu.caption(), "E&xact output (rewrite VBR/gapless header)");
    EXPECT_TRUE(p.mainform().exactmenu.checked());
    EXPECT_TRUE(p.writer().exact);

    p.mainform().exactmenu.click();
    EXPECT_FALSE(p.mainform().exactmenu.checked());
    EXPECT_FALSE(p.writer().exact);
    EXPECT_FALSE(qc::readoptions(dir.path("bin/quillcut.json")).exactoutput);
    EXPECT_EQ(qctest::readbytes(dir.path("bin/mp3qc.ini")), record);

    // the next run starts from the file
    program.reset();
    qc::Program& again = start();
    EXPECT_FALSE(again.mainform().exactmenu.checked());
    EXPECT_FALSE(again.writer().exact);
    again.mainform().exactmenu.click();
    EXPECT_TRUE(again.writer().exact);
    EXPECT_TRUE(qc::readoptions(dir.path("bin/quillcut.json")).exactoutput);
}

}  // namespace
