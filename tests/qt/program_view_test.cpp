// The whole program behind real widgets: the toolbar presentations chosen
// from the rendered menu, a load started from the rendered Load button, and
// the silence detection window opened, driven and closed through its view.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "qt/form_view.h"
#include "qt/picture_button.h"
#include "qt/platform_services.h"
#include "qt/updown_widget.h"
#include "program_rig.h"
#include "qt_app.h"
#include "shell/program.h"
#include "support/harness.h"

namespace {

// The program with its main and silence detection windows as real views.
struct ProgramWithViews : qttest::ProgramRig {
    ProgramWithViews()
        : ProgramRig(ui::idok),
          mainview(program.mainform()),
          autoview(program.autoform())
    {
        mainview.showifvisible();
        autoview.showifvisible();
        qttest::settle();
    }

    qcqt::FormView mainview;
    qcqt::FormView autoview;
};

qcqt::PictureButton* toolbutton(ProgramWithViews& p, ui::Control& c)
{
    return dynamic_cast<qcqt::PictureButton*>(p.mainview.widget(c));
}

TEST(ProgramView, ToolbarPresentationsFromTheRenderedMenu)
{
    ProgramWithViews p;
    ui::MainForm& form = p.program.mainform();
    qcqt::FormWindow* window = p.mainview.window();
    // the reset settings show pictures and text
    EXPECT_EQ(window->client()->height(), 542);
    const QPoint top = window->pos();

    p.mainview.action(form.textbutmenu)->trigger();
    EXPECT_EQ(window->client()->height(), 509);
    EXPECT_EQ(p.mainview.widget(form.frame1)->y(), 29);
    EXPECT_EQ(toolbutton(p, form.openbut)->height(), 24);
    EXPECT_TRUE(toolbutton(p, form.openbut)->picture().isNull());
    EXPECT_EQ(toolbutton(p, form.playsrcbut)->text(), "&Play s.");
    EXPECT_EQ(toolbutton(p, form.playbut)->text(), "Play &t.");
    EXPECT_TRUE(p.mainview.action(form.textbutmenu)->isChecked());
    EXPECT_EQ(window->pos(), top);

    p.mainview.action(form.picbutmenu)->trigger();
    EXPECT_EQ(window->client()->height(), 528);
    EXPECT_FALSE(toolbutton(p, form.openbut)->picture().isNull());
    EXPECT_FALSE(toolbutton(p, form.playbut)->picture().isNull());
    EXPECT_EQ(toolbutton(p, form.savebut)->text(), "");
    EXPECT_FALSE(p.mainview.action(form.textbutmenu)->isChecked());

    // hidden and shown again: the style chosen before comes back
    p.mainview.action(form.stmenu)->trigger();
    EXPECT_EQ(window->client()->height(), 485);
    EXPECT_TRUE(toolbutton(p, form.openbut)->isHidden());
    EXPECT_FALSE(p.mainview.action(form.buttonsmenu)->isEnabled());
    EXPECT_FALSE(p.mainview.action(form.stmenu)->isChecked());
    p.mainview.action(form.stmenu)->trigger();
    EXPECT_EQ(window->client()->height(), 528);
    EXPECT_FALSE(toolbutton(p, form.openbut)->isHidden());
    EXPECT_TRUE(p.mainview.action(form.picbutmenu)->isChecked());
    EXPECT_EQ(window->pos(), top);
}

TEST(ProgramView, LoadFromTheRenderedButtonAndTheAutoWindow)
{
    ProgramWithViews p;
    ui::MainForm& form = p.program.mainform();
    ui::AutoForm& autoform = p.program.autoform();

    // a cancelled open dialog changes nothing
    toolbutton(p, form.openbut)->click();
    EXPECT_EQ(p.dialogs.titles.size(), 1u);
    EXPECT_FALSE(p.mainview.widget(form.frame1)->isEnabled());

    // 300 frames of rising gain: enough for the silence detection window
    std::vector<std::uint8_t> gains;
    for (int i = 0; i < 300; ++i)
        gains.push_back(static_cast<std::uint8_t>(i < 20 ? 0 : 100 + i % 50));
    p.dialogs.answer = p.dir.write("tone.mp3", qctest::frames(300, {}, gains));
    toolbutton(p, form.openbut)->click();
    ASSERT_TRUE(p.program.file().loadok);
    EXPECT_TRUE(p.mainview.widget(form.frame1)->isEnabled());
    EXPECT_EQ(dynamic_cast<QLabel*>(p.mainview.widget(form.infolabel))->text().toStdString(),
              form.infolabel.caption());
    EXPECT_EQ(dynamic_cast<QLabel*>(p.mainview.widget(form.kbpslabel9))->text().toStdString(),
              form.kbpslabel9.caption());
    EXPECT_NE(form.kbpslabel9.caption().find("300"), std::string::npos);
    EXPECT_TRUE(toolbutton(p, form.playsrcbut)->isEnabled());
    EXPECT_TRUE(p.mainview.action(form.playsrcmenu)->isEnabled());

    // The Auto button waits for its window; the user raises the start side's
    // auto-subtract with the rendered arrow, then presses Escape: no cut
    // changes, but the value shown becomes the setting.
    auto* arrows = dynamic_cast<qcqt::UpDownWidget*>(p.autoview.widget(autoform.UpDowna));
    ASSERT_NE(arrows, nullptr);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(p.autoview.window()->isVisible());
        arrows->upbutton()->click();
        arrows->upbutton()->click();
        qttest::presskey(p.autoview.window(), Qt::Key_Escape, "\x1b");
    });
    toolbutton(p, form.startautobut)->click();
    EXPECT_FALSE(p.autoview.window()->isVisible());
    EXPECT_EQ(autoform.UpDowna.position(), 2);
    EXPECT_EQ(dynamic_cast<QLineEdit*>(p.autoview.widget(autoform.Edit1))->text(), "2");
    EXPECT_EQ(p.program.settings().autos.autosubstart, 2);
    EXPECT_EQ(p.program.file().cutframes[0], 0);
    EXPECT_EQ(p.program.file().cutframes[1], 0);

    // Again, now method 1 on the start side and "Accept BOTH": the cut is the
    // 20 blank frames less the two left untrimmed.
    QTimer::singleShot(0, [&] {
        dynamic_cast<QPushButton*>(p.autoview.widget(autoform.metod1a))->click();
        dynamic_cast<QPushButton*>(p.autoview.widget(autoform.OKbut))->click();
    });
    toolbutton(p, form.startautobut)->click();
    EXPECT_FALSE(p.autoview.window()->isVisible());
    EXPECT_EQ(p.program.file().cutframes[0], 18);
    EXPECT_EQ(p.program.file().cutframes[1], 0);
    EXPECT_EQ(dynamic_cast<QLineEdit*>(p.mainview.widget(form.tbox0))->text().toStdString(),
              form.tbox0.text());
}

TEST(ProgramView, OnlyActivationOfTheMainWindowClosesTheAutoWindow)
{
    ProgramWithViews p;
    ui::MainForm& form = p.program.mainform();
    p.dialogs.answer = p.dir.write("tone.mp3", qctest::frames(250, {}));
    toolbutton(p, form.openbut)->click();
    ASSERT_TRUE(p.program.file().loadok);

    bool stillopen = false;
    QTimer::singleShot(0, [&] {
        QApplication::setActiveWindow(p.autoview.window());
        qttest::settle();
        // the whole program losing activation (another program's window)
        // leaves the window open ...
        QApplication::setActiveWindow(nullptr);
        qttest::settle();
        stillopen = p.autoview.window()->isVisible();
        QApplication::setActiveWindow(p.autoview.window());
        qttest::settle();
        // ... a click into the main window cancels it
        QApplication::setActiveWindow(p.mainview.window());
    });
    toolbutton(p, form.startautobut)->click();
    EXPECT_TRUE(stillopen);
    EXPECT_FALSE(p.autoview.window()->isVisible());
    EXPECT_FALSE(p.program.autoform().visible());
    EXPECT_EQ(p.program.file().cutframes[0], 0);
}

}  // namespace
