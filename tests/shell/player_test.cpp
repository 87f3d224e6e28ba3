#include <gtest/gtest.h>

#include "shell/player.h"
#include "support/harness.h"

namespace {

class RecordingShell : public ui::ShellOpen {
public:
    bool open(const std::string& path) override
    {
        opened.push_back(path);
        return works;
    }
    std::vector<std::string> opened;
    bool works = true;
};

TEST(Player, HandsTheWholeNameToTheDesktopAndReportsFailure)
{
    RecordingShell shell;
    qctest::ScriptedBox box;
    qc::playfile("/music/my song.mp3", shell, box);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "/music/my song.mp3");
    EXPECT_TRUE(box.shown.empty());

    shell.works = false;
    box.answer(ui::idok);
    qc::playfile("/music/song.xyz", shell, box);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "System error trying to start the player!");
    EXPECT_EQ(box.shown[0].caption, "unable to play");
    EXPECT_EQ(box.shown[0].style, 48);
}

}  // namespace
