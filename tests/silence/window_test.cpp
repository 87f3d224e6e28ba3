#include <gtest/gtest.h>

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
    EXPECT_EQ(form.rect(), (ui::Rect{-20, 4000, 402, 392}));

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

}  // namespace
