#include <gtest/gtest.h>

#include "fake_platform.h"
#include "shell/player.h"
#include "support/harness.h"

namespace {

using shelltest::RecordingShell;

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
