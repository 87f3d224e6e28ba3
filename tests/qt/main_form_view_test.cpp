// The main window rendered from its model: every control shown with the
// model's state, changes of the model reaching the widgets, and the user's
// clicks and keys going back through the model.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt/picture_button.h"
#include "qt_app.h"
#include "support/harness.h"

namespace {

using qcqt::FormView;

template <typename W>
W* shown(const FormView& view, const ui::Control& c)
{
    auto* w = dynamic_cast<W*>(view.widget(c));
    EXPECT_NE(w, nullptr) << c.name();
    return w;
}

void visit(ui::Control& c, const std::function<void(ui::Control&)>& f)
{
    f(c);
    for (ui::Control* child : c.children())
        visit(*child, f);
}

// Enabled, and so is every parent: what makes a widget take input.
bool enabledchain(const ui::Control& c)
{
    for (const ui::Control* p = &c; p; p = p->parent())
        if (!p->enabled())
            return false;
    return true;
}

TEST(MainFormView, EveryControlShowsItsModel)
{
    ui::MainForm form;
    FormView view(form);
    int widgets = 0, actions = 0;
    visit(form, [&](ui::Control& c) {
        switch (c.kind()) {
        case ui::Kind::Form: return;
        case ui::Kind::MenuBar: return;
        case ui::Kind::Menu:
        case ui::Kind::MenuItem: {
            QAction* a = view.action(c);
            ASSERT_NE(a, nullptr) << c.name();
            EXPECT_EQ(a->text().toStdString(), c.caption()) << c.name();
            EXPECT_EQ(a->isEnabled(), c.enabled()) << c.name();
            EXPECT_EQ(a->isChecked(), c.checked()) << c.name();
            ++actions;
            return;
        }
        case ui::Kind::Separator: EXPECT_TRUE(view.action(c) && view.action(c)->isSeparator()); return;
        default: break;
        }
        QWidget* w = view.widget(c);
        ASSERT_NE(w, nullptr) << c.name();
        ++widgets;
        const ui::Rect& r = c.rect();
        EXPECT_EQ(w->geometry(), QRect(r.left, r.top, r.width, r.height)) << c.name();
        EXPECT_EQ(w->toolTip().toStdString(), c.hint()) << c.name();
        EXPECT_EQ(w->isEnabled(), enabledchain(c)) << c.name();
        EXPECT_EQ(w->isHidden(), !c.visible()) << c.name();
        if (c.kind() == ui::Kind::Button) {
            EXPECT_EQ(static_cast<QPushButton*>(w)->text(), qcqt::displaytext(c.caption())) << c.name();
        }
        if (c.kind() == ui::Kind::CheckBox) {
            EXPECT_EQ(static_cast<QCheckBox*>(w)->text().toStdString(), c.caption()) << c.name();
        }
        if (c.kind() == ui::Kind::Edit) {
            EXPECT_EQ(static_cast<QLineEdit*>(w)->text().toStdString(), c.text()) << c.name();
        }
        if (!c.font().name.empty()) {
            EXPECT_EQ(w->font().pixelSize(), c.font().px) << c.name();
        }
    });
    // the whole window: 5 toolbar + 5 store buttons, the panel and its 40 controls
    // (the two cut time labels and the Tracks button among them); the exact
    // output item, File > Split into tracks and File > Quit included
    EXPECT_EQ(widgets, 53);
    EXPECT_EQ(actions, 19);

    // The labels show their captions, the access key of a cut label underlined.
    EXPECT_EQ(shown<QLabel>(view, form.infolabel)->text(), "no file loaded");
    EXPECT_EQ(shown<QLabel>(view, form.kbpslabel14)->text(), "  320 kbps frames:");
    EXPECT_TRUE(shown<QLabel>(view, form.cutlabel0)->text().contains("st<u>a</u>rt"));
    // "\r\n" in a caption is a line break on the button.
    form.playsrcbut.setcaption("&Play\r\nsource");
    EXPECT_EQ(shown<QPushButton>(view, form.playsrcbut)->text(), "&Play\nsource");
    // The window: the model's caption and client size below the menu bar.
    EXPECT_EQ(view.window()->windowTitle(), "Quillcut");
    EXPECT_EQ(view.window()->client()->size(), QSize(300, 547));
    EXPECT_FALSE(view.window()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(view.window()->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(MainFormView, ModelChangesReachTheWidgets)
{
    ui::MainForm form;
    FormView view(form);
    auto* save = shown<qcqt::PictureButton>(view, form.savebut);
    EXPECT_FALSE(save->isEnabled());
    form.savebut.setenabled(true);
    EXPECT_TRUE(save->isEnabled());
    form.savebut.setcaption("");
    EXPECT_EQ(save->text(), "");
    EXPECT_FALSE(save->picture().isNull());
    form.savebut.setpicture("");
    EXPECT_TRUE(save->picture().isNull());

    // the panel's state carries to what it holds
    auto* riff = shown<QCheckBox>(view, form.riffcheck);
    EXPECT_FALSE(riff->isEnabled());
    form.frame1.setenabled(true);
    EXPECT_TRUE(riff->isEnabled());
    form.riffcheck.setchecked(true);
    EXPECT_TRUE(riff->isChecked());
    form.riffcheck.setvisible(false);
    EXPECT_TRUE(riff->isHidden());

    form.infolabel.setcaption("- processing -");
    EXPECT_EQ(shown<QLabel>(view, form.infolabel)->text(), "- processing -");
    form.pbar.setvisible(true);
    form.pbar.setposition(42);
    EXPECT_FALSE(shown<QProgressBar>(view, form.pbar)->isHidden());
    EXPECT_EQ(shown<QProgressBar>(view, form.pbar)->value(), 42);
    form.openbut.sethint("another hint");
    EXPECT_EQ(view.widget(form.openbut)->toolTip(), "another hint");
    form.frame1.settop(29);
    EXPECT_EQ(view.widget(form.frame1)->y(), 29);

    // menu check marks and states
    form.trymenu.setchecked(true);
    EXPECT_TRUE(view.action(form.trymenu)->isChecked());
    form.promptmenu.setchecked(false);
    EXPECT_FALSE(view.action(form.promptmenu)->isChecked());
    form.buttonsmenu.setenabled(false);
    EXPECT_FALSE(view.action(form.buttonsmenu)->isEnabled());

    // the form: a new height keeps the window's top edge where it was
    const QPoint before = view.window()->pos();
    form.setheight(509);
    EXPECT_EQ(view.window()->client()->height(), 509);
    EXPECT_EQ(view.window()->pos(), before);
    form.setcursor(ui::Cursor::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    form.setcursor(ui::Cursor::Normal);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MainFormView, ClicksGoThroughTheModel)
{
    ui::MainForm form;
    FormView view(form);
    int opened = 0, reloaded = 0, tried = 0;
    form.openbut.onclick = [&] { ++opened; };
    form.reloadbut.onclick = [&] { ++reloaded; };
    form.trymenu.onclick = [&] { ++tried; };

    shown<QPushButton>(view, form.openbut)->click();
    EXPECT_EQ(opened, 1);
    // a disabled button takes no click
    shown<QPushButton>(view, form.reloadbut)->click();
    EXPECT_EQ(reloaded, 0);
    form.reloadbut.setenabled(true);
    shown<QPushButton>(view, form.reloadbut)->click();
    EXPECT_EQ(reloaded, 1);

    // A menu item's check mark is its handler's business, not the click's.
    view.action(form.trymenu)->trigger();
    EXPECT_EQ(tried, 1);
    EXPECT_FALSE(view.action(form.trymenu)->isChecked());
    form.trymenu.onclick = [&] {
        ++tried;
        form.trymenu.setchecked(true);
    };
    view.action(form.trymenu)->trigger();
    EXPECT_TRUE(form.trymenu.checked());
    EXPECT_TRUE(view.action(form.trymenu)->isChecked());

    // A check box clicked by the user toggles the model, which runs its
    // handler; a handler that puts the box back wins.
    form.frame1.setenabled(true);
    auto* head = shown<QCheckBox>(view, form.headtagcheck);
    int headclicks = 0;
    form.headtagcheck.onclick = [&] { ++headclicks; };
    head->click();
    EXPECT_TRUE(form.headtagcheck.checked());
    EXPECT_EQ(headclicks, 1);
    form.headtagcheck.onclick = [&] {
        ++headclicks;
        if (form.headtagcheck.checked())
            form.headtagcheck.setchecked(false);
    };
    head->click();  // unchecks
    head->click();  // checks, and the handler refuses
    EXPECT_FALSE(form.headtagcheck.checked());
    EXPECT_FALSE(head->isChecked());
}

TEST(MainFormView, TypingIntoACutBoxRunsTheTypingRule)
{
    qctest::Loader loader;
    ui::MainForm& form = loader.form;
    FormView view(form);
    form.frame1.setenabled(true);
    auto* box = shown<QLineEdit>(view, form.tbox0);

    // Focus entering the box runs its enter handler: caret after the text.
    form.tbox0.setselection(0, 1);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(box, &focus);
    EXPECT_EQ(form.focus(), &form.tbox0);
    EXPECT_EQ(box->cursorPosition(), 1);
    EXPECT_FALSE(box->hasSelectedText());

    // Tab brings the focus with the caret where the model's handler put it.
    QFocusEvent tabbed(QEvent::FocusIn, Qt::TabFocusReason);
    form.setfocus(nullptr);
    QApplication::sendEvent(box, &tabbed);
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_EQ(form.tbox0.sellength(), 0);

    // The text selected in the widget is replaced by what the model types.
    box->selectAll();
    EXPECT_EQ(form.tbox0.sellength(), 1);
    qttest::typetext(box, "2.5");
    EXPECT_EQ(form.tbox0.text(), "2.5");
    EXPECT_EQ(box->text(), "2.5");
    EXPECT_EQ(box->cursorPosition(), 3);
    EXPECT_EQ(loader.file.cutframes[0], 96);  // 2.5 s / 0.0261224 s per frame

    // The model's limit of 6 characters holds for typed keys.
    qttest::typetext(box, "12345");
    EXPECT_EQ(form.tbox0.text(), "2.5123");

    // A caret moved in the widget is the model's caret.
    box->setCursorPosition(1);
    EXPECT_EQ(form.tbox0.caret(), 1);
    qttest::presskey(box, Qt::Key_Backspace);
    EXPECT_EQ(form.tbox0.text(), ".5123");

    // Escape goes to the model, which clears the cut.
    qttest::presskey(box, Qt::Key_Escape);
    EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(loader.file.cutframes[0], 0);

    // Editing the widget does by itself (select all, Delete) reaches the model
    // as text, and the typing rule answers an empty box with "0".
    // (the reset 0 is selected: the 7 replaces it)
    qttest::typetext(box, "7");
    EXPECT_EQ(form.tbox0.text(), "7");
    box->selectAll();
    EXPECT_EQ(form.tbox0.sellength(), 1);
    qttest::presskey(box, Qt::Key_Delete);
    EXPECT_EQ(form.tbox0.text(), "0");
    EXPECT_EQ(box->text(), "0");

    // Enter in the start box moves the model's focus to the end box.
    qttest::presskey(box, Qt::Key_Return, "\r");
    EXPECT_EQ(form.focus(), &form.tbox1);
}

TEST(MainFormView, ClosingAndPaintingGoThroughTheModel)
{
    ui::MainForm form;
    FormView view(form);
    view.showifvisible();
    EXPECT_TRUE(view.window()->isVisible());
    int paints = 0;
    form.onpaint = [&] { ++paints; };
    qttest::settle();
    paints = 0;
    view.window()->grab();
    view.window()->grab();
    EXPECT_EQ(paints, 0);  // the handler runs after the paint, not inside it
    qttest::settle();
    EXPECT_EQ(paints, 1);  // once for the paints that were waiting

    // The user moving the window moves the model; the model moving it moves the window.
    view.window()->move(140, 90);
    EXPECT_EQ(form.rect().left, 140);
    EXPECT_EQ(form.rect().top, 90);
    form.setrect({20, 30, 300, 547});
    EXPECT_EQ(view.window()->pos(), QPoint(20, 30));

    // Minimised and restored, as the window reports it.
    view.window()->showMinimized();
    EXPECT_TRUE(form.minimized());
    view.window()->showNormal();
    EXPECT_FALSE(form.minimized());

    int closes = 0;
    form.onclose = [&] { ++closes; };
    view.window()->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(view.window()->isVisible());
    form.show();
    EXPECT_TRUE(view.window()->isVisible());
}

// A load moves the bar a hundred times: it is painted with the events that
// follow, not at every move, and it shows the last position it was given.
TEST(MainFormView, TheProgressBarPaintsWithTheNextEventsNotAtEveryMove)
{
    ui::MainForm form;
    FormView view(form);
    view.showifvisible();
    form.pbar.setrange(0, 100);
    form.pbar.setvisible(true);
    qttest::settle();
    auto* bar = shown<QProgressBar>(view, form.pbar);
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } count;
    bar->installEventFilter(&count);
    for (int percent = 1; percent <= 60; ++percent)
        form.pbar.setposition(percent);
    EXPECT_EQ(count.paints, 0);
    EXPECT_EQ(bar->value(), 60);
    EXPECT_TRUE(bar->updatesEnabled());
    qttest::settle();
    EXPECT_GE(count.paints, 1);
    EXPECT_LE(count.paints, 2);
    bar->removeEventFilter(&count);
}

TEST(MainFormView, ClosingTheMainWindowEndsTheProgram)
{
    ui::MainForm form;
    FormView view(form);
    view.setendsprogram(true);
    view.showifvisible();
    bool closed = false;
    form.onclose = [&] { closed = true; };
    QTimer::singleShot(0, [&] { view.window()->close(); });
    // a program that would not end is stopped after a while, with another code
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(closed);
}

TEST(MainFormView, OnlyLabelsWithRoomForTwoLinesWrap)
{
    ui::MainForm form;
    FormView view(form);
    EXPECT_FALSE(shown<QLabel>(view, form.kbpslabel0)->wordWrap());
    EXPECT_FALSE(shown<QLabel>(view, form.infolabel)->wordWrap());
    EXPECT_FALSE(shown<QLabel>(view, form.filenamelabel)->wordWrap());
    form.infolabel.setheight(60);
    EXPECT_TRUE(shown<QLabel>(view, form.infolabel)->wordWrap());
}

}  // namespace
