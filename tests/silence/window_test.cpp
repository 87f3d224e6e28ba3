#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "cutting/fixed.h"
#include "shell/silence_window.h"
#include "support/harness.h"

namespace {

using Gains = std::vector<std::uint8_t>;

// lead blank frames, a body alternating 150 and 160, trail blank frames
Gains shaped(int lead, int body, int trail)
{
    Gains g(static_cast<std::size_t>(lead), 0);
    for (int k = 0; k < body; ++k)
        g.push_back(k % 2 ? 160 : 150);
    g.insert(g.end(), static_cast<std::size_t>(trail), 0);
    return g;
}

class SilenceWindowTest : public ::testing::Test {
protected:
    qctest::Loader loader;
    ui::AutoForm form;
    qc::AutoSettings settings;
    qc::SilenceWindow win{loader.file, form, loader.cuts, loader.box, loader.pump, settings};
    qctest::TempDir dir;
    std::vector<std::function<void()>> user;
    std::size_t next = 0;
    bool inside = false;

    void start()
    {
        win.create();
        win.wire(loader.form);
        loader.scanner.afterload = [this] { win.autouseonload(); };
    }

    void load(const Gains& gains)
    {
        std::string path = dir.write("t.mp3", qctest::frames(static_cast<int>(gains.size()), {}, gains));
        ASSERT_TRUE(loader.load(path));
    }

    // Presses the Auto button; while its handler pumps, the window becomes
    // active and then the user takes one step per pump.
    void autobutton(std::vector<std::function<void()>> steps)
    {
        user = std::move(steps);
        user.insert(user.begin(), [this] { form.activate(); });
        next = 0;
        loader.pump.hook = [this] {
            if (inside)
                return;  // the Accept buttons pump once more from inside a step
            inside = true;
            if (next < user.size()) {
                user[next++]();
            } else {
                ADD_FAILURE() << "the window is still open after the last step";
                form.close();
            }
            inside = false;
        };
        loader.form.startautobut.click();
        loader.pump.hook = nullptr;
    }
};

TEST_F(SilenceWindowTest, TwoHundredFramesAtLeast)
{
    start();
    load(shaped(10, 179, 10));
    loader.box.answer(ui::idok);
    autobutton({});
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_EQ(loader.box.shown[0].text, " Files with less than 200 frames\r\ncan't be processed automatically!");
    EXPECT_EQ(loader.box.shown[0].style, 48);
    EXPECT_EQ(loader.box.shown[0].caption, "error");
    EXPECT_EQ(next, 0u);  // never opened

    load(shaped(10, 180, 10));
    autobutton({[&] {
        EXPECT_EQ(win.state.examinecount, 200);
        EXPECT_EQ(win.state.endgains[199], loader.file.framegain[0]);
        form.presskey(ui::key_escape);
    }});
    EXPECT_FALSE(form.visible());
}

TEST_F(SilenceWindowTest, AcceptingSetsOnlyTheAcceptedSides)
{
    start();
    load(shaped(20, 200, 15));
    loader.cuts.applycut(1, 7);
    autobutton({[&] {
        form.metod1a.click();
        EXPECT_EQ(form.secalab.caption(), qc::fixed(20 * qc::spf44, 3));
        form.metod1b.click();  // run but not accepted
        int pumped = loader.pump.count;
        form.okabut.click();
        EXPECT_EQ(loader.pump.count, pumped + 1);  // pending events first
    }});
    EXPECT_EQ(win.autoresult, 2);
    EXPECT_EQ(loader.file.cutframes[0], 20);
    EXPECT_EQ(loader.file.cutframes[1], 7);
    EXPECT_EQ(loader.form.tbox0.text(), qc::fixed(20 * qc::spf44, 3));

    autobutton({[&] {
        EXPECT_EQ(form.framesalab.caption(), "0");  // activation starts clean
        form.metod1b.click();
        form.metod1a.click();
        form.okbbut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], 20);
    EXPECT_EQ(loader.file.cutframes[1], 15);

    load(shaped(0, 240, 0));
    loader.cuts.applycut(0, 30);
    loader.cuts.applycut(1, 40);
    autobutton({[&] {
        form.metod1a.click();
        form.metod1b.click();
        form.OKbut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 0);
    EXPECT_EQ(loader.form.tbox1.text(), "0");
    EXPECT_FALSE(loader.form.savebut.enabled());
}

TEST_F(SilenceWindowTest, ClosingWithoutAcceptStoresOnlySubtractAndPlace)
{
    start();
    load(shaped(20, 200, 15));
    loader.cuts.applycut(0, 3);
    const std::function<void()> closers[3] = {
        [&] { form.presskey(ui::key_escape); },
        [&] { form.close(); },       // the system close button
        [&] { form.deactivate(); },  // a click into the main window
    };
    for (int way = 0; way < 3; ++way) {
        autobutton({[&] {
                        form.metod1a.click();
                        ui::clickupdown(form.UpDowna, true);
                        ui::clickupdown(form.UpDowna, true);
                        form.Edit2.usertext(std::to_string(10 + way));
                        form.setleft(100 + way);
                    },
                    closers[way]});
        EXPECT_EQ(win.autoresult, 0) << way;
        EXPECT_EQ(loader.file.cutframes[0], 3) << way;
        EXPECT_EQ(loader.file.cutframes[1], 0) << way;
        EXPECT_EQ(settings.autosubstart, 2 * (way + 1)) << way;
        EXPECT_EQ(settings.autosubend, 10 + way) << way;
        EXPECT_EQ(settings.autoleft, 100 + way) << way;
    }

    // a window hidden past its close handler ends the wait, accepting nothing
    autobutton({[&] {
        form.metod1a.click();
        form.setvisible(false);
    }});
    EXPECT_EQ(loader.file.cutframes[0], 3);
}

TEST_F(SilenceWindowTest, AutoUseBoxesOnePerSide)
{
    start();
    form.show();
    form.autouse1b.click();
    form.autouse1a.click();
    form.autouse2a.click();
    EXPECT_FALSE(form.autouse1a.checked() || form.autouse3a.checked());
    EXPECT_EQ(settings.autousestart, 2);
    EXPECT_TRUE(form.autouse1b.checked());  // the other side is never touched
    form.autouse2a.click();
    EXPECT_EQ(settings.autousestart, 0);
    EXPECT_FALSE(form.autouse1a.checked() || form.autouse2a.checked() || form.autouse3a.checked());
    EXPECT_EQ(settings.autouseend, 1);
}

TEST_F(SilenceWindowTest, CreationFromStoredSettings)
{
    settings.autousestart = 3;
    settings.autouseend = 7;      // no such method: none
    settings.autosubstart = 150;  // beyond the up-down range: 99
    settings.autoleft = -20;
    settings.autotop = 4000;      // placed as stored, without adjustment
    start();
    EXPECT_TRUE(form.autouse3a.checked());
    EXPECT_FALSE(form.autouse1b.checked() || form.autouse2b.checked() || form.autouse3b.checked());
    EXPECT_EQ(settings.autouseend, 0);
    EXPECT_EQ(settings.autosubstart, 99);
    EXPECT_EQ(form.rect(), (ui::Rect{-20, 4000, 964, 392 + 56}));

    // the unknown end method leaves the end cut alone on a reload
    load(shaped(120, 200, 15));
    loader.cuts.applycut(1, 6);
    ASSERT_TRUE(loader.reload());
    // method 3: four loud frames from 120, and 0 <= 0 stops the walk back at 119
    EXPECT_EQ(loader.file.cutframes[0], 119 - 99);
    EXPECT_EQ(loader.file.cutframes[1], 6);
}

TEST_F(SilenceWindowTest, AutoSubtractControls)
{
    start();
    load(shaped(20, 200, 15));
    autobutton({[&] {
                    form.metod1a.click();
                    form.metod1b.click();
                    form.Edit1.usertext("");
                    form.Edit1.typekey('7');
                    EXPECT_EQ(form.UpDowna.position(), 7);
                    EXPECT_EQ(form.framesalab.caption(), "13");
                    // unreadable texts stay as typed and change nothing
                    for (const std::string t : {"-5", "a", "7x", "-", ""}) {
                        form.Edit1.usertext(t);
                        EXPECT_EQ(form.Edit1.text(), t);
                        EXPECT_EQ(form.framesalab.caption(), "13") << t;
                    }
                    form.Edit1.usertext(std::string("1\0", 2));  // blanks and NULs are dropped
                    EXPECT_EQ(form.UpDowna.position(), 1);
                    form.Edit1.usertext(" 9");
                    form.Edit2.usertext("20");
                    EXPECT_EQ(form.framesblab.caption(), "0");  // not below 0
                    // the up-down writes the box, focuses it and stores at once
                    ui::clickupdown(form.UpDownb, false);
                    EXPECT_EQ(form.Edit2.text(), "19");
                    EXPECT_EQ(form.focus(), &form.Edit2);
                    EXPECT_EQ(form.Edit2.caret(), 2);
                    EXPECT_EQ(settings.autosubend, 19);
                    form.Edit2.usertext("3");
                    // Enter moves to the side's Accept button without pressing it
                    form.setfocus(&form.Edit1);
                    form.presskey(ui::key_enter);
                    EXPECT_EQ(form.focus(), &form.okabut);
                },
                [&] { form.OKbut.click(); }});
    EXPECT_EQ(loader.file.cutframes[0], 11);
    EXPECT_EQ(loader.file.cutframes[1], 12);
    EXPECT_EQ(settings.autosubstart, 9);
    EXPECT_EQ(settings.autosubend, 3);
}

TEST_F(SilenceWindowTest, AutoUseOnLoad)
{
    settings.autouseend = 1;
    settings.autosubend = 5;
    start();
    load(shaped(20, 200, 15));
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 10);
    EXPECT_TRUE(loader.form.savebut.enabled());
    EXPECT_FALSE(form.visible());

    // Reload keeps the start cut the user set; the end is applied again
    loader.cuts.applycut(0, 9);
    loader.cuts.applycut(1, 2);
    ASSERT_TRUE(loader.reload());
    EXPECT_EQ(loader.file.cutframes[0], 9);
    EXPECT_EQ(loader.file.cutframes[1], 10);

    // the window shows the auto-use result as soon as it opens
    autobutton({[&] {
        EXPECT_EQ(form.framesblab.caption(), "10");
        EXPECT_EQ(form.Edit2.text(), "5");
        form.presskey(ui::key_escape);
    }});

    // both sides, far below 200 frames; method 2's run breaks at once in the
    // alternating body, so the reference index is the result
    settings.autousestart = 2;
    load(shaped(12, 40, 8));
    EXPECT_EQ(loader.file.cutframes[0], 12);
    EXPECT_EQ(loader.file.cutframes[1], 8 - 5);

    settings.autousestart = 3;
    settings.autouseend = 3;
    load({0, 0, 0});  // fewer than four examined frames
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 0);
}


// 30 blank frames, 30 frames at 60, then a body alternating 150 and 160, and
// trail blank frames at the end: the three methods land at known places.
Gains stepped(int body, int trail)
{
    Gains g(30, 0);
    g.insert(g.end(), 30, 60);
    for (int k = 0; k < body; ++k)
        g.push_back(k % 2 ? 160 : 150);
    g.insert(g.end(), static_cast<std::size_t>(trail), 0);
    return g;
}

TEST_F(SilenceWindowTest, GainStripsShowTheExaminedFramesAndTheProposals)
{
    start();
    for (std::uint8_t mode : {qc::mode_joint, qc::mode_mono}) {
        SCOPED_TRACE(static_cast<int>(mode));
        // 1200 frames: each strip holds its own 1000, in file order
        const Gains gains = stepped(1120, 20);
        qctest::FrameSpec spec;
        spec.mode = mode;
        std::string path = dir.write("t.mp3", qctest::frames(static_cast<int>(gains.size()), spec, gains));
        ASSERT_TRUE(loader.load(path));
        ASSERT_EQ(loader.file.channelmode, mode);
        settings.autosubstart = 5;
        autobutton({[&] {
            const ui::GainStrip& a = form.gainstripa;
            const ui::GainStrip& b = form.gainstripb;
            ASSERT_EQ(a.framecount(), 1000);
            ASSERT_EQ(b.framecount(), 1000);
            EXPECT_TRUE(std::equal(a.gains().begin(), a.gains().end(), gains.begin()));
            EXPECT_TRUE(std::equal(b.gains().begin(), b.gains().end(), gains.end() - 1000));
            EXPECT_EQ(b.gains().back(), 0);  // the file's last frame on the right
            // method 1: the 30 blank frames; 2: the run of 60s ends at 60;
            // 3: the rise begins after frame 29; all less the start's 5
            EXPECT_EQ(a.mark(1), 25);
            EXPECT_EQ(a.mark(2), 55);
            EXPECT_EQ(a.mark(3), 24);
            // at the end: 20 blank frames; the body matches no neighbour; the
            // rise seen backwards begins at index 19
            EXPECT_EQ(b.mark(1), 20);
            EXPECT_EQ(b.mark(2), 20);
            EXPECT_EQ(b.mark(3), 19);
            // a mark sits at the boundary its cut keeps: counted from the
            // left at the start, from the right at the end
            EXPECT_DOUBLE_EQ(a.markx(2), a.boundaryx(55));
            EXPECT_DOUBLE_EQ(b.markx(1), b.boundaryx(1000 - 20));
            EXPECT_LT(b.markx(3), b.boundaryx(1000));

            // the marks follow the auto-subtract box at once
            form.Edit1.usertext("40");
            EXPECT_EQ(a.mark(1), 0);  // never below 0
            EXPECT_EQ(a.mark(2), 20);
            form.presskey(ui::key_escape);
        }});
        settings.autosubstart = 0;
    }

    // a short file: both strips hold the whole file, in the same order
    const Gains gains = stepped(200, 40);
    load(gains);
    loader.cuts.applycut(0, 12);
    loader.cuts.applycut(1, 7);
    autobutton({[&] {
        EXPECT_EQ(form.gainstripa.gains(), gains);
        EXPECT_EQ(form.gainstripb.gains(), gains);
        EXPECT_EQ(form.gainstripa.cut(), 12);
        EXPECT_EQ(form.gainstripb.cut(), 7);
        EXPECT_DOUBLE_EQ(form.gainstripa.cutto(), form.gainstripa.boundaryx(12));
        EXPECT_DOUBLE_EQ(form.gainstripb.cutfrom(), form.gainstripb.boundaryx(300 - 7));
        EXPECT_DOUBLE_EQ(form.gainstripb.cutto(), form.gainstripb.boundaryx(300));
        form.presskey(ui::key_escape);
    }});
}

TEST_F(SilenceWindowTest, PointerAndArrowKeysSetTheCutThroughTheCutBoxes)
{
    start();
    load(stepped(200, 40));  // 300 frames, more than a pixel each
    ui::GainStrip& a = form.gainstripa;
    ui::GainStrip& b = form.gainstripb;
    const int second = static_cast<int>(std::lround(1 / qc::spf44));
    auto xof = [](const ui::GainStrip& s, int boundary) {
        return static_cast<int>(std::lround(s.boundaryx(boundary)));
    };
    autobutton({[&] {
        a.pointer(xof(a, 100));
        EXPECT_EQ(loader.file.cutframes[0], 100);
        EXPECT_EQ(loader.form.tbox0.text(), qc::fixed(100 * qc::spf44, 3));
        EXPECT_TRUE(loader.form.savebut.enabled());
        EXPECT_EQ(a.cut(), 100);  // the strip shows the new cut
        EXPECT_EQ(loader.file.cutframes[1], 0);

        // a drag past the ends stops there
        a.pointer(-50);
        EXPECT_EQ(loader.file.cutframes[0], 0);
        EXPECT_FALSE(loader.form.savebut.enabled());
        a.pointer(a.rect().width + 50);
        EXPECT_EQ(loader.file.cutframes[0], 300);

        // on the end side the boundary keeps the frames left of it
        b.pointer(xof(b, 300 - 45));
        EXPECT_EQ(loader.file.cutframes[1], 45);
        EXPECT_EQ(loader.form.tbox1.text(), qc::fixed(45 * qc::spf44, 3));

        // Right moves the mark right: more cut at the start, less at the end
        a.pointer(xof(a, 100));
        a.arrowkey(true, false);
        EXPECT_EQ(loader.file.cutframes[0], 101);
        a.arrowkey(true, true);
        EXPECT_EQ(loader.file.cutframes[0], 101 + second);
        a.arrowkey(false, true);
        a.arrowkey(false, false);
        EXPECT_EQ(loader.file.cutframes[0], 100);
        b.arrowkey(false, false);
        EXPECT_EQ(loader.file.cutframes[1], 46);
        b.arrowkey(true, true);
        EXPECT_EQ(loader.file.cutframes[1], 46 - second);
        EXPECT_EQ(loader.form.tbox1.text(), qc::fixed((46 - second) * qc::spf44, 3));
        for (int k = 0; k < 5; ++k)
            b.arrowkey(true, true);
        EXPECT_EQ(loader.file.cutframes[1], 0);  // the edge holds
        form.presskey(ui::key_escape);
    }});
    // closing without Accept puts back the cuts the window opened with
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 0);
    EXPECT_EQ(loader.form.tbox0.text(), "0");

    // a closed window's strips take no input
    a.pointer(xof(a, 10));
    a.arrowkey(true, false);
    EXPECT_EQ(loader.file.cutframes[0], 0);
}

// What a strip shows is what Accept applies: a picked cut is the side's
// proposal (its labels say so), Accept keeps it, and a side that was not
// accepted gets back the cut it had when the window opened.
TEST_F(SilenceWindowTest, AcceptKeepsWhatTheStripShowsAndEscapeUndoesIt)
{
    start();
    load(stepped(200, 40));
    ui::GainStrip& a = form.gainstripa;
    ui::GainStrip& b = form.gainstripb;
    auto xof = [](const ui::GainStrip& s, int boundary) {
        return static_cast<int>(std::lround(s.boundaryx(boundary)));
    };
    const int at25 = static_cast<int>(std::lround(2.5 / qc::spf44));  // 2.5 s: 96 frames

    // the start strip clicked at 2.5 s, then "Accept just this"
    autobutton({[&] {
        a.pointer(xof(a, at25));
        EXPECT_EQ(form.framesalab.caption(), std::to_string(at25));
        EXPECT_EQ(form.secalab.caption(), qc::fixed(at25 * qc::spf44, 3));
        form.okabut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], at25);
    EXPECT_EQ(loader.form.tbox0.text(), qc::fixed(at25 * qc::spf44, 3));

    // Escape undoes the picks of both sides
    loader.cuts.applycut(1, 7);
    autobutton({[&] {
        a.pointer(xof(a, 30));
        b.pointer(xof(b, 300 - 50));
        EXPECT_EQ(loader.file.cutframes[0], 30);
        EXPECT_EQ(loader.file.cutframes[1], 50);
        form.presskey(ui::key_escape);
    }});
    EXPECT_EQ(loader.file.cutframes[0], at25);
    EXPECT_EQ(loader.file.cutframes[1], 7);
    EXPECT_EQ(loader.form.tbox1.text(), qc::fixed(7 * qc::spf44, 3));

    // accepting one side undoes the other side's pick; the auto-subtract
    // does not move a picked cut
    autobutton({[&] {
        a.pointer(xof(a, 40));
        form.Edit2.usertext("5");
        b.pointer(xof(b, 300 - 20));
        EXPECT_EQ(form.framesblab.caption(), "20");
        form.okbbut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], at25);
    EXPECT_EQ(loader.file.cutframes[1], 20);

    // a method run after a pick proposes the method's result again
    autobutton({[&] {
        a.pointer(xof(a, 60));
        form.metod1a.click();
        EXPECT_EQ(form.framesalab.caption(), std::to_string(qc::method1(win.state, 0)));
        form.OKbut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], qc::method1(win.state, 0));
    EXPECT_EQ(loader.file.cutframes[1], 0);  // "Accept BOTH": the end's proposal, none
}

// The fourth proposal: each end's quiet part, found on the whole file
// relative to its own levels (room tone that the methods do not find), with
// its own accept; the auto-subtract applies to it as to the methods.
TEST_F(SilenceWindowTest, TheQuietPartIsAFourthProposalWithItsOwnAccept)
{
    start();
    // room tone (151, 152) at both ends of speech that dips for a frame
    const Gains syllables = {180, 170, 159, 176, 180, 177, 163, 161, 175, 175, 170, 151,
                             159, 169, 169, 162, 147, 161, 171, 171, 165, 153, 172, 178};
    Gains g;
    for (int k = 0; k < 80; ++k)
        g.push_back(k % 3 == 0 ? 152 : 151);
    for (int k = 0; k < 400; ++k)
        g.push_back(syllables[static_cast<std::size_t>(k) % syllables.size()]);
    for (int k = 0; k < 50; ++k)
        g.push_back(k % 3 == 0 ? 152 : 151);
    load(g);
    std::int32_t quietstart = 0, quietend = 0;
    autobutton({[&] {
        quietstart = win.quietdetected[0];
        quietend = win.quietdetected[1];
        // the methods find nothing blank here; the quiet part finds the room tone
        form.metod1a.click();
        EXPECT_EQ(form.framesalab.caption(), "0");
        EXPECT_NEAR(quietstart, 80, 2);
        EXPECT_NEAR(quietend, 50, 2);
        EXPECT_EQ(form.quietalab.caption(),
                  std::to_string(quietstart) + " = " + qc::fixed(quietstart * qc::spf44, 3) + " s");
        EXPECT_EQ(form.gainstripa.mark(4), quietstart);
        EXPECT_EQ(form.gainstripb.mark(4), quietend);
        // less the auto-subtract, at once
        form.Edit1.usertext("5");
        EXPECT_EQ(win.quietproposed[0], quietstart - 5);
        EXPECT_EQ(form.gainstripa.mark(4), quietstart - 5);
        form.okqabut.click();
    }});
    EXPECT_EQ(loader.file.cutframes[0], quietstart - 5);
    EXPECT_EQ(loader.file.cutframes[1], 0);
    autobutton({[&] { form.okqbbut.click(); }});
    EXPECT_EQ(loader.file.cutframes[0], quietstart - 5);
    EXPECT_EQ(loader.file.cutframes[1], quietend);
    settings.autosubstart = 0;
}

TEST(GainStrip, CutBeyondTheStripAndTheTimeAxis)
{
    ui::Form form("f");
    form.setrect({0, 0, 600, 200});
    ui::GainStrip a("a", &form, 0), b("b", &form, 1);
    std::vector<std::int32_t> cuts;
    for (ui::GainStrip* s : {&a, &b}) {
        s->setrect({0, 0, 548, 131});
        s->setplot(Gains(300, 100), {1, 2, 3}, 5000, qc::spf44);
        s->oncut = [&](std::int32_t n) { cuts.push_back(n); };
    }
    // a cut typed far beyond the examined frames is drawn at the far edge;
    // a key that would move it further leaves it alone
    EXPECT_DOUBLE_EQ(a.cutx(), a.boundaryx(300));
    EXPECT_DOUBLE_EQ(b.cutx(), b.boundaryx(0));
    a.arrowkey(true, false);
    b.arrowkey(false, true);
    EXPECT_TRUE(cuts.empty());
    a.arrowkey(false, false);
    b.arrowkey(true, false);
    EXPECT_EQ(cuts, (std::vector<std::int32_t>{299, 299}));

    // whole seconds, as far as the strip reaches: from the start, and
    // before the end with 0 at the right edge
    const double length = 300 * qc::spf44;
    for (ui::GainStrip* s : {&a, &b}) {
        const std::vector<ui::Tick> ticks = s->ticks();
        ASSERT_EQ(ticks.size(), static_cast<std::size_t>(length) + 1);
        for (std::size_t k = 0; k + 1 < ticks.size(); ++k)
            EXPECT_LT(ticks[k].x, ticks[k + 1].x);
        EXPECT_GE(ticks[1].x - ticks[0].x, 40.0);  // room for the labels
    }
    EXPECT_EQ(a.ticks().front().text, "0");
    EXPECT_EQ(a.ticks().back().text, std::to_string(static_cast<int>(length)));
    EXPECT_DOUBLE_EQ(a.ticks()[2].x, a.boundaryx(0) + 2 / qc::spf44 * a.plotarea().width / 300);
    EXPECT_EQ(b.ticks().back().text, "0");
    EXPECT_DOUBLE_EQ(b.ticks().back().x, b.boundaryx(300));
    EXPECT_EQ(b.ticks().front().text, std::to_string(-static_cast<int>(length)));
}

TEST(GainStrip, TheWindowGrowsToTheRightOfItsControls)
{
    ui::AutoForm form;
    const ui::Rect a = form.gainstripa.rect(), b = form.gainstripb.rect();
    // every other control keeps the left 402 pixels
    for (ui::Control* c : form.children()) {
        if (c != &form.gainstripa && c != &form.gainstripb) {
            EXPECT_LE(c->rect().left + c->rect().width, 402) << c->name();
        }
    }
    for (const ui::Rect& r : {a, b}) {
        EXPECT_GE(r.left, 402);
        EXPECT_LE(r.left + r.width, form.clientwidth());
        EXPECT_LE(r.top + r.height, form.clientheight());
    }
    EXPECT_LE(a.top + a.height, b.top);  // the start above the end
    // the quiet parts' row below the 392 pixels of the groups and buttons
    EXPECT_EQ(form.clientheight(), 392 + 56);
    for (ui::Control* c : {&form.quiettitlea, &form.quietalab, &form.okqabut, &form.quiettitleb, &form.quietblab,
                           &form.okqbbut})
        EXPECT_GE(c->rect().top, 392) << c->name();

    // the keyboard reaches the strips after every control it reached before
    std::vector<ui::Control*> order = form.taborder();
    ASSERT_EQ(order.size(), 2 * form.taborder(0).size() + 5);
    EXPECT_EQ(order[order.size() - 5], &form.OKbut);
    EXPECT_EQ(order[order.size() - 4], &form.okqabut);
    EXPECT_EQ(order[order.size() - 3], &form.okqbbut);
    EXPECT_EQ(order[order.size() - 2], &form.gainstripa);
    EXPECT_EQ(order.back(), &form.gainstripb);
}

}  // namespace
