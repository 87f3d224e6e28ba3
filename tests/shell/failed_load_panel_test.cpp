// A load that fails or is cancelled leaves the per-file panel as it is at
// start-up: nothing of the previous file (counts, shading, removal boxes)
// stays in view.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/harness.h"

using namespace qctest;

namespace {

const FrameSpec f128{};

// What the panel shows, control by control. The cut boxes and their time
// labels are left out: they belong to the cuts, which Reload keeps.
std::string panel(const ui::MainForm& form)
{
    std::ostringstream out;
    for (const ui::Control* c : form.frame1.children()) {
        const std::string& n = c->name();
        if (n.rfind("tbox", 0) == 0 || n.rfind("cuttime", 0) == 0 || n == "pbar")
            continue;
        out << n << " \"" << c->caption() << "\" color " << c->color() << (c->visible() ? " shown" : " hidden")
            << (c->enabled() ? " enabled" : " disabled") << (c->checked() ? " checked" : "") << "\n";
    }
    return out.str();
}

// A file whose load fills every part of the panel: one bitrate (shaded),
// and a damaged footer tag (its box checked and disabled).
Bytes shadedfile()
{
    Bytes b = frames(6, f128) + id3v1tag();
    b.resize(b.size() - 30);
    return b;
}

}  // namespace

TEST(FailedLoadPanel, EveryFailureLeavesThePanelAsAtStartUp)
{
    const std::string startup = panel(ui::MainForm());
    TempDir dir;
    const std::string good = dir.write("good.mp3", shadedfile());
    const std::string notmp3 = dir.write("text.mp3", filler(20000, 'q'));
    const std::string huge = dir.write("huge.mp3", frames(3, f128));
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);  // sparse: 2 GiB, one byte too many

    struct Failure {
        const char* what;
        std::string path;
        int answer;  // the answer to the load's first question, 0 for none
    };
    const Failure failures[] = {
        {"error exit", notmp3, 0},
        {"file not found", dir.path("missing.mp3"), 0},
        {"too large", huge, 0},
        {"cancelled question", dir.write("tail.mp3", frames(6, f128) + filler(40, 'x')), ui::idcancel},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        Loader l;
        l.box.answerall(ui::idok);
        ASSERT_TRUE(l.load(good));
        const std::string loaded = panel(l.form);
        ASSERT_NE(loaded, startup);  // the good file really changed the panel
        ASSERT_NE(loaded.find("kbpslabel9 \" 128 kbps frames:6\" color 13684944"), std::string::npos) << loaded;

        l.box.clear();
        if (f.answer)
            l.box.answer(f.answer);
        else
            l.box.answerall(ui::idok);
        EXPECT_FALSE(l.load(f.path));
        EXPECT_EQ(panel(l.form), startup);
        EXPECT_FALSE(l.form.frame1.enabled());
        EXPECT_FALSE(l.form.savebut.enabled());

        // and the next good load shows its own file again
        l.box.answerall(ui::idok);
        ASSERT_TRUE(l.load(good));
        EXPECT_EQ(panel(l.form), loaded);
    }
}

TEST(FailedLoadPanel, AFailedReloadForgetsTheFileItHadLoaded)
{
    const std::string startup = panel(ui::MainForm());
    TempDir dir;
    Loader l;
    l.box.answerall(ui::idok);
    const std::string path = dir.write("song.mp3", shadedfile());
    ASSERT_TRUE(l.load(path));
    ASSERT_TRUE(l.reload());
    ASSERT_NE(panel(l.form), startup);

    dir.write("song.mp3", filler(20000, 'q'));  // replaced by something that is no MP3
    l.box.clear();
    l.box.answerall(ui::idok);
    EXPECT_FALSE(l.reload());
    ASSERT_FALSE(l.box.shown.empty());
    EXPECT_EQ(l.box.shown.back().caption, "error");
    EXPECT_EQ(panel(l.form), startup);
    EXPECT_EQ(l.form.infolabel.caption(), "no file loaded");
    EXPECT_EQ(l.form.filenamelabel.caption(), "");
}
