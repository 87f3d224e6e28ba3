#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "cutting/fixed.h"
#include "silence/silence_window.h"
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

    // what the user does while the Auto button's handler pumps, one step per pump
    std::vector<std::function<void()>> user;
    std::size_t next = 0;
    bool inside = false;

    void SetUp() override { loader.scanner.afterload = [this] { win.autouseonload(); }; }

    void start()
    {
        win.create();
        win.wire(loader.form);
    }

    void load(const Gains& gains)
    {
        std::string path = dir.write("t.mp3", qctest::frames(static_cast<int>(gains.size()), {}, gains));
        ASSERT_TRUE(loader.load(path));
    }

    // Presses the Auto button and plays the steps while the window is open.
    void autobutton(std::vector<std::function<void()>> steps)
    {
        user = std::move(steps);
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

TEST_F(SilenceWindowTest, TooFewFramesForTheAutoButton)
{
    start();
    load(shaped(10, 179, 10));  // 199 frames
    loader.box.answer(ui::idok);
    autobutton({});
    ASSERT_EQ(loader.box.shown.size(), 1u);
    EXPECT_EQ(loader.box.shown[0].text, " Files with less than 200 frames\r\ncan't be processed automatically!");
    EXPECT_EQ(loader.box.shown[0].style, 48);
    EXPECT_EQ(loader.box.shown[0].caption, "error");
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(next, 0u);

    load(shaped(10, 180, 10));  // 200 frames: the window opens on all of them
    autobutton({[&] {
                    EXPECT_TRUE(form.visible());
                    form.activate();
                    EXPECT_EQ(win.state.examinecount, 200);
                    EXPECT_EQ(win.state.endgains[0], loader.file.framegain[199]);
                    EXPECT_EQ(win.state.endgains[199], loader.file.framegain[0]);
                },
                [&] { form.presskey(ui::key_escape); }});
    EXPECT_EQ(loader.box.shown.size(), 1u);
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(win.autoresult, 0);
}

TEST_F(SilenceWindowTest, AcceptOneSideLeavesTheOther)
{
    start();
    load(shaped(20, 200, 15));
    loader.cuts.applycut(1, 7);
    autobutton({[&] { form.activate(); },
                [&] {
                    form.metod1a.click();
                    EXPECT_EQ(form.framesalab.caption(), "20");
                    EXPECT_EQ(form.secalab.caption(), qc::fixed(20 * qc::spf44, 3));
                    form.metod1b.click();  // run but not accepted
                    EXPECT_EQ(form.framesblab.caption(), "15");
                    int pumped = loader.pump.count;
                    form.okabut.click();
                    EXPECT_EQ(loader.pump.count, pumped + 1);  // pending events first
                }});
    EXPECT_EQ(win.autoresult, 2);
    EXPECT_EQ(win.acceptedstart, 20);
    EXPECT_EQ(win.acceptedend, -1);
    EXPECT_EQ(loader.file.cutframes[0], 20);
    EXPECT_EQ(loader.file.cutframes[1], 7);
    EXPECT_EQ(loader.form.tbox0.text(), qc::fixed(20 * qc::spf44, 3));

    autobutton({[&] { form.activate(); },
                [&] {
                    // a fresh activation shows no proposal
                    EXPECT_EQ(form.framesalab.caption(), "0");
                    EXPECT_EQ(win.state.detected[0], 0);
                    form.metod1b.click();
                    form.metod1a.click();
                    form.okbbut.click();
                }});
    EXPECT_EQ(loader.file.cutframes[0], 20);
    EXPECT_EQ(loader.file.cutframes[1], 15);
    EXPECT_TRUE(loader.form.savebut.enabled());
}

TEST_F(SilenceWindowTest, AcceptBothWithNothingFoundClearsBothCuts)
{
    start();
    load(shaped(0, 240, 0));
    loader.cuts.applycut(0, 30);
    loader.cuts.applycut(1, 40);
    autobutton({[&] { form.activate(); },
                [&] {
                    form.metod1a.click();
                    form.metod1b.click();
                    form.OKbut.click();
                }});
    EXPECT_EQ(win.acceptedstart, 0);
    EXPECT_EQ(win.acceptedend, 0);
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 0);
    EXPECT_EQ(loader.form.tbox1.text(), "0");
    EXPECT_FALSE(loader.form.savebut.enabled());
}

TEST_F(SilenceWindowTest, ClosingWithoutAcceptKeepsCutsButStoresSubtractAndPlace)
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
        autobutton({[&] { form.activate(); },
                    [&] {
                        form.metod1a.click();
                        form.metod1b.click();
                        ui::clickupdown(form.UpDowna, true);
                        ui::clickupdown(form.UpDowna, true);
                        form.Edit2.usertext(std::to_string(10 + way));
                        form.setleft(100 + way);
                        form.settop(50);
                    },
                    closers[way]});
        EXPECT_FALSE(form.visible()) << way;
        EXPECT_EQ(win.autoresult, 0) << way;
        EXPECT_EQ(loader.file.cutframes[0], 3) << way;
        EXPECT_EQ(loader.file.cutframes[1], 0) << way;
        EXPECT_EQ(settings.autosubstart, 2 * (way + 1)) << way;
        EXPECT_EQ(settings.autosubend, 10 + way) << way;
        EXPECT_EQ(settings.autoleft, 100 + way) << way;
        EXPECT_EQ(settings.autotop, 50) << way;
    }
}

TEST_F(SilenceWindowTest, WindowHiddenWithoutItsCloseHandlerEndsTheWait)
{
    start();
    load(shaped(20, 200, 15));
    autobutton({[&] { form.activate(); },
                [&] {
                    form.metod1a.click();
                    form.setvisible(false);
                }});
    EXPECT_EQ(win.autoresult, 0);
    EXPECT_EQ(loader.file.cutframes[0], 0);
}

TEST_F(SilenceWindowTest, AutoUseBoxesOnePerSide)
{
    start();
    form.show();
    form.autouse1b.click();
    form.autouse1a.click();
    EXPECT_EQ(settings.autousestart, 1);
    form.autouse2a.click();
    EXPECT_TRUE(form.autouse2a.checked());
    EXPECT_FALSE(form.autouse1a.checked());
    EXPECT_FALSE(form.autouse3a.checked());
    EXPECT_EQ(settings.autousestart, 2);
    EXPECT_TRUE(form.autouse1b.checked());  // the other side is never touched
    EXPECT_EQ(settings.autouseend, 1);
    form.autouse2a.click();
    EXPECT_EQ(settings.autousestart, 0);
    EXPECT_FALSE(form.autouse1a.checked() || form.autouse2a.checked() || form.autouse3a.checked());
    EXPECT_EQ(settings.autouseend, 1);
}

TEST_F(SilenceWindowTest, CreationFromStoredSettings)
{
    settings.autousestart = 3;
    settings.autouseend = 7;     // no such method: none
    settings.autosubstart = 150; // beyond the up-down range: 99
    settings.autoleft = -20;
    settings.autotop = 4000;     // placed as stored, without adjustment
    start();
    EXPECT_TRUE(form.autouse3a.checked());
    EXPECT_FALSE(form.autouse1a.checked() || form.autouse2a.checked());
    EXPECT_FALSE(form.autouse1b.checked() || form.autouse2b.checked() || form.autouse3b.checked());
    EXPECT_EQ(settings.autousestart, 3);
    EXPECT_EQ(settings.autouseend, 0);
    EXPECT_EQ(settings.autosubstart, 99);
    EXPECT_EQ(form.rect().left, -20);
    EXPECT_EQ(form.rect().top, 4000);
    EXPECT_FALSE(form.visible());
}

TEST_F(SilenceWindowTest, AutoSubtractControls)
{
    start();
    load(shaped(20, 200, 15));
    autobutton({[&] { form.activate(); },
                [&] {
                    form.metod1a.click();
                    form.metod1b.click();
                    // typing 7 into an emptied box
                    form.Edit1.usertext("");
                    EXPECT_EQ(form.UpDowna.position(), 0);
                    EXPECT_EQ(form.framesalab.caption(), "20");
                    form.Edit1.typekey('7');
                    EXPECT_EQ(form.UpDowna.position(), 7);
                    EXPECT_EQ(form.framesalab.caption(), "13");
                    EXPECT_EQ(win.state.proposed[0], 13);
                    EXPECT_EQ(settings.autosubstart, 0);  // taken on close
                    // unreadable texts are left as typed and change nothing
                    for (const char* t : {"-5", "a", "7x", "-"}) {
                        form.Edit1.usertext(t);
                        EXPECT_EQ(form.Edit1.text(), t);
                        EXPECT_EQ(form.UpDowna.position(), 7) << t;
                        EXPECT_EQ(form.framesalab.caption(), "13") << t;
                    }
                    form.Edit1.usertext(" 9");
                    EXPECT_EQ(form.UpDowna.position(), 9);
                    // more than detected: 0, not negative
                    form.Edit2.usertext("20");
                    EXPECT_EQ(form.framesblab.caption(), "0");
                    EXPECT_EQ(form.secblab.caption(), "0");
                    // the up-down writes the box, focuses it and stores at once
                    ui::clickupdown(form.UpDownb, false);
                    EXPECT_EQ(form.Edit2.text(), "19");
                    EXPECT_EQ(form.focus(), &form.Edit2);
                    EXPECT_EQ(form.Edit2.caret(), 2);
                    EXPECT_EQ(form.Edit2.sellength(), 0);
                    EXPECT_EQ(settings.autosubend, 19);
                    form.Edit2.usertext("3");
                    EXPECT_EQ(form.framesblab.caption(), "12");
                    // Enter moves to the side's Accept button without pressing it
                    form.setfocus(&form.Edit1);
                    form.presskey(ui::key_enter);
                    EXPECT_EQ(form.focus(), &form.okabut);
                    EXPECT_TRUE(form.visible());
                    EXPECT_EQ(form.Edit1.text(), " 9");
                },
                [&] { form.OKbut.click(); }});
    EXPECT_EQ(loader.file.cutframes[0], 11);
    EXPECT_EQ(loader.file.cutframes[1], 12);
    EXPECT_EQ(settings.autosubstart, 9);
    EXPECT_EQ(settings.autosubend, 3);
}

TEST_F(SilenceWindowTest, AutoUseOnLoadSetsOnlyItsSide)
{
    settings.autouseend = 1;
    settings.autosubend = 5;
    start();
    load(shaped(20, 200, 15));
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 10);
    EXPECT_EQ(loader.form.tbox1.text(), qc::fixed(10 * qc::spf44, 3));
    EXPECT_TRUE(loader.form.savebut.enabled());
    EXPECT_FALSE(form.visible());

    // Reload keeps the start cut the user set; the end is applied again
    loader.cuts.applycut(0, 9);
    loader.cuts.applycut(1, 2);
    ASSERT_TRUE(loader.reload());
    EXPECT_EQ(loader.file.cutframes[0], 9);
    EXPECT_EQ(loader.file.cutframes[1], 10);

    // the window opened afterwards shows the auto-use result at once
    autobutton({[&] {
                    form.activate();
                    EXPECT_EQ(form.framesblab.caption(), "10");
                    EXPECT_EQ(form.framesalab.caption(), "0");
                    EXPECT_EQ(form.Edit2.text(), "5");
                },
                [&] { form.presskey(ui::key_escape); }});
    EXPECT_EQ(loader.file.cutframes[1], 10);
}

TEST_F(SilenceWindowTest, AutoUseOnLoadBothSidesOnShortFiles)
{
    settings.autousestart = 2;
    settings.autouseend = 1;
    start();
    load(shaped(12, 40, 8));  // far below 200 frames
    // method 2: the alternating body breaks the run at once, so the
    // reference index is the result
    EXPECT_EQ(loader.file.cutframes[0], 12);
    EXPECT_EQ(loader.file.cutframes[1], 8);
    EXPECT_EQ(win.acceptedstart, 12);
    EXPECT_EQ(win.acceptedend, 8);

    settings.autousestart = 3;
    settings.autouseend = 3;
    load({0, 0, 0});  // fewer than four examined frames
    EXPECT_EQ(loader.file.cutframes[0], 0);
    EXPECT_EQ(loader.file.cutframes[1], 0);

    settings.autousestart = 1;
    load({255, 0});
    EXPECT_EQ(loader.file.cutframes[0], 2);
}

TEST_F(SilenceWindowTest, StoredMethodOutOfRangeLeavesCutsAlone)
{
    settings.autousestart = 9;
    start();
    load(shaped(20, 200, 15));
    loader.cuts.applycut(0, 6);
    ASSERT_TRUE(loader.reload());
    EXPECT_EQ(loader.file.cutframes[0], 6);
    EXPECT_EQ(loader.file.cutframes[1], 0);
}

TEST(AutoSubtractText, SignedDecimalWithoutBlanks)
{
    EXPECT_EQ(qc::readsubtract("42"), 42);
    EXPECT_EQ(qc::readsubtract(" 4 2"), 42);
    EXPECT_EQ(qc::readsubtract(std::string("1\0" "2", 3)), 12);
    EXPECT_EQ(qc::readsubtract("+7"), 7);
    EXPECT_EQ(qc::readsubtract("-5"), -5);
    EXPECT_FALSE(qc::readsubtract(""));
    EXPECT_FALSE(qc::readsubtract("  "));
    EXPECT_FALSE(qc::readsubtract("-"));
    EXPECT_FALSE(qc::readsubtract("1.5"));
    EXPECT_FALSE(qc::readsubtract("x1"));
}

}  // namespace
