#include <gtest/gtest.h>

#include "shell/settings.h"
#include "shell/toolbar.h"
#include "support/harness.h"

namespace {

struct ToolbarFixture : ::testing::Test {
    ui::MainForm form;
    std::string savedir;
    qc::Settings settings{form, savedir};
    qctest::CountingPump pump;
    qc::Toolbar toolbar{form, settings, pump};

    ToolbarFixture() { toolbar.wire(); }

    void expectheights(int buttons, int panel, int client)
    {
        for (ui::Control* b : form.toolbar())
            EXPECT_EQ(b->rect().height, buttons) << b->name();
        EXPECT_EQ(form.frame1.rect().top, panel);
        EXPECT_EQ(form.clientheight(), client);
    }

    void expectcaptions(const char* playsrc, const char* play)
    {
        EXPECT_EQ(form.openbut.caption(), "&Load");
        EXPECT_EQ(form.reloadbut.caption(), "&Reload");
        EXPECT_EQ(form.savebut.caption(), "&Save as");
        EXPECT_EQ(form.playsrcbut.caption(), playsrc);
        EXPECT_EQ(form.playbut.caption(), play);
    }

    void expectpictures(bool shown)
    {
        const auto buttons = form.toolbar();
        const auto stores = form.store();
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_EQ(buttons[i]->picture(), shown ? stores[i]->picture() : "") << buttons[i]->name();
    }

    void expectmarks(bool pictures, bool text, bool both)
    {
        EXPECT_EQ(form.picbutmenu.checked(), pictures);
        EXPECT_EQ(form.textbutmenu.checked(), text);
        EXPECT_EQ(form.bothbutmenu.checked(), both);
    }
};

TEST_F(ToolbarFixture, LayoutValuesByMode)
{
    form.picbutmenu.click();
    expectmarks(true, false, false);
    EXPECT_EQ(settings.toolbarmode, 1);
    EXPECT_EQ(toolbar.toolbarheight(), 43);
    expectheights(43, 48, 528);
    expectpictures(true);
    for (ui::Control* b : form.toolbar())
        EXPECT_EQ(b->caption(), "") << b->name();

    form.textbutmenu.click();
    expectmarks(false, true, false);
    EXPECT_EQ(toolbar.toolbarheight(), 24);
    expectheights(24, 29, 509);
    expectpictures(false);
    expectcaptions("&Play s.", "Play &t.");

    form.bothbutmenu.click();
    expectmarks(false, false, true);
    EXPECT_EQ(settings.toolbarstyle, 3);
    EXPECT_EQ(toolbar.toolbarheight(), 57);
    expectheights(57, 62, 542);
    expectpictures(true);
    expectcaptions("&Play\r\nsource", "Play\r\n&target");

    // pictures again after text: the pictures come back from the store
    form.textbutmenu.click();
    form.picbutmenu.click();
    expectpictures(true);
    EXPECT_EQ(form.playbut.caption(), "");
    EXPECT_FALSE(toolbar.layoutbusy());
}

TEST_F(ToolbarFixture, HidingAndShowingRestoresTheStyle)
{
    settings.toolbarmode = 2;
    settings.toolbarstyle = 2;
    toolbar.applysettings();
    form.stmenu.click();  // hide
    EXPECT_FALSE(form.stmenu.checked());
    EXPECT_FALSE(form.buttonsmenu.enabled());
    EXPECT_FALSE(form.picbutmenu.usable());
    EXPECT_EQ(settings.toolbarmode, 0);
    EXPECT_EQ(settings.toolbarstyle, 2);
    EXPECT_EQ(toolbar.toolbarheight(), 0);
    for (ui::Control* b : form.toolbar())
        EXPECT_FALSE(b->visible()) << b->name();
    // hidden buttons keep their size; the panel sits 5 pixels below the menu
    expectheights(24, 5, 485);
    EXPECT_EQ(toolbar.border(0xD4D0C8)[0].top, 0);

    form.stmenu.click();  // show
    EXPECT_TRUE(form.stmenu.checked());
    EXPECT_TRUE(form.buttonsmenu.enabled());
    EXPECT_EQ(settings.toolbarmode, 2);
    expectmarks(false, true, false);
    for (ui::Control* b : form.toolbar())
        EXPECT_TRUE(b->visible()) << b->name();
    expectheights(24, 29, 509);
    expectcaptions("&Play s.", "Play &t.");
}

TEST_F(ToolbarFixture, StartUpFromTheSettings)
{
    settings.toolbarmode = 0;
    settings.toolbarstyle = 7;
    toolbar.applysettings();
    EXPECT_FALSE(form.stmenu.checked());
    EXPECT_FALSE(form.buttonsmenu.enabled());
    EXPECT_TRUE(form.openbut.visible());  // hidden by the first paint
    toolbar.formpaint();
    EXPECT_FALSE(form.openbut.visible());
    EXPECT_EQ(form.clientheight(), 485);
    EXPECT_EQ(settings.toolbarstyle, 7);

    settings.toolbarmode = 3;
    settings.toolbarstyle = 1;
    toolbar.applysettings();
    EXPECT_TRUE(form.stmenu.checked());
    EXPECT_EQ(settings.toolbarmode, 1);
    expectmarks(true, false, false);
    expectheights(43, 48, 528);
    EXPECT_TRUE(form.openbut.visible());
}

TEST_F(ToolbarFixture, ForeignModeShowsTheButtonsUnchanged)
{
    form.textbutmenu.click();
    settings.toolbarmode = 0;
    toolbar.layout();
    settings.toolbarmode = 9;
    toolbar.layout();
    for (ui::Control* b : form.toolbar())
        EXPECT_TRUE(b->visible()) << b->name();
    expectheights(24, 5, 485);
}

TEST_F(ToolbarFixture, PaintReappliesTheLayoutButNeverNested)
{
    form.bothbutmenu.click();
    form.playsrcbut.setcaption("stale");
    form.setheight(300);
    toolbar.formpaint();
    EXPECT_EQ(form.playsrcbut.caption(), "&Play\r\nsource");
    EXPECT_EQ(form.clientheight(), 542);

    // a paint that arrives while the layout lets events through does not lay out again
    int pumps = 0;
    pump.hook = [&] {
        ++pumps;
        EXPECT_TRUE(toolbar.layoutbusy());
        toolbar.formpaint();
    };
    toolbar.formpaint();
    EXPECT_EQ(pumps, 1);
    EXPECT_FALSE(toolbar.layoutbusy());
    pump.hook = nullptr;

    // minimized: nothing is laid out, and a restore paints the same layout
    form.setminimized(true);
    form.playsrcbut.setcaption("stale");
    const int before = pump.count;
    toolbar.formpaint();
    EXPECT_EQ(pump.count, before);
    EXPECT_EQ(form.playsrcbut.caption(), "stale");
    form.setminimized(false);
    toolbar.formpaint();
    EXPECT_EQ(form.playsrcbut.caption(), "&Play\r\nsource");
    EXPECT_EQ(form.clientheight(), 542);
}

TEST(Border, ShadesFromTheButtonFace)
{
    // face 212,208,200 against the background 239
    const auto lines = qc::borderoutlines(0xD4D0C8, 300, 542, 57);
    const std::int32_t expected[5] = {0xDAD7D1, 0xE1DFDB, 0xE8E7E5, 0xEBEBEA, 0xEDEDEC};
    for (int k = 0; k < 5; ++k) {
        const qc::Outline& o = lines[static_cast<std::size_t>(k)];
        EXPECT_EQ(o.color, expected[k]) << k;
        EXPECT_EQ(o, (qc::Outline{k, 57 + k, 300 - k, 542 - k, expected[k]})) << k;
    }
    // black and white faces: the channels are blended separately and rounded down
    const auto dark = qc::borderoutlines(0x000000, 10, 10, 0);
    EXPECT_EQ(dark[0].color, 0x3B3B3B);
    EXPECT_EQ(dark[1].color, 0x777777);
    EXPECT_EQ(dark[4].color, 0xE0E0E0);
    const auto mixed = qc::borderoutlines(0xFF0010, 10, 10, 0);
    EXPECT_EQ(mixed[0].color, (251 << 16) | (59 << 8) | 71);
}

}  // namespace
