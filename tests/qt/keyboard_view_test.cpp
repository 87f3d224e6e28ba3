// The keyboard of the real main window and Info window, as a desktop user
// uses it: the menu shortcuts and File > Quit, F1 and the keys that close
// Info, the menus' access letters, Tab passing the small step buttons, and a
// cut box whose reset 0 is replaced by what is typed.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "program_rig.h"
#include "qt_app.h"
#include "shell/program.h"
#include "support/harness.h"

namespace {

using qctest::operator+;

// The program behind its real main and Info windows, the main window active.
struct KeyboardRig : qttest::ProgramRig {
    KeyboardRig()
        : ProgramRig(ui::idno),
          mainview(program.mainform()),
          infoview(program.infoform())
    {
        mainview.showifvisible();
        infoview.showifvisible();
        activate(mainview);
        box.clear();  // whatever start-up said
    }
    static void activate(qcqt::FormView& v)
    {
        v.window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(v.window()));
        qttest::settle();
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier, qcqt::FormView* v = nullptr)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : (v ? v : &mainview)->window();
        QTest::keyClick(target, static_cast<Qt::Key>(k), m);
        qttest::settle();
    }
    // A file whose loads each ask one question (20 bytes after the frames).
    void loadone()
    {
        const std::string path =
            dir.write("song.mp3", qctest::frames(400, qctest::FrameSpec{}) + qctest::filler(20, 'A'));
        program.openfile(path);
        ASSERT_TRUE(program.file().loadok);
        qttest::settle();
    }

    qcqt::FormView mainview;
    qcqt::FormView infoview;
};

TEST(KeyboardView, MenuShortcutsRunTheirCommands)
{
    KeyboardRig r;
    ui::MainForm& form = r.program.mainform();
    r.key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(r.dialogs.titles.size(), 1u);
    EXPECT_EQ(r.dialogs.titles[0], " - choose source file - ");

    // Reload and Save as do nothing while they are disabled
    r.key(Qt::Key_R, Qt::ControlModifier);
    r.key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(r.dialogs.titles.size(), 1u);
    EXPECT_TRUE(r.box.shown.empty());

    r.loadone();
    const std::size_t asked = r.box.shown.size();  // the questions about the 20 bytes
    ASSERT_GT(asked, 0u);
    r.key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(r.box.shown.size(), 2 * asked);  // Reload asked them again

    form.tbox0.usertext("1");
    ASSERT_TRUE(form.savemenu.enabled());
    r.key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(r.dialogs.titles.size(), 2u);  // the save dialog
    EXPECT_NE(r.dialogs.titles[1], " - choose source file - ");

    ASSERT_TRUE(form.visible());
    r.key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(r.mainview.window()->isVisible());
}

TEST(KeyboardView, FileQuitClosesTheWindowAsItsCloseButtonDoes)
{
    KeyboardRig r;
    QAction* quit = r.mainview.action(r.program.mainform().quitmenu);
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), QStringLiteral("&Quit"));
    EXPECT_EQ(quit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    bool closed = false;
    auto onclose = r.program.mainform().onclose;
    r.program.mainform().onclose = [&] {
        closed = true;
        onclose();  // the settings are written as on any close
    };
    quit->trigger();
    qttest::settle();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(r.mainview.window()->isVisible());
}

TEST(KeyboardView, F1OpensInfoAndEnterOrEscapeCloseIt)
{
    KeyboardRig r;
    ui::InfoForm& info = r.program.infoform();
    ASSERT_FALSE(info.visible());
    for (int closer : {Qt::Key_Escape, Qt::Key_Return}) {
        KeyboardRig::activate(r.mainview);
        r.key(Qt::Key_F1);
        ASSERT_TRUE(info.visible());
        ASSERT_TRUE(r.infoview.window()->isVisible());
        KeyboardRig::activate(r.infoview);
        r.key(closer, Qt::NoModifier, &r.infoview);
        EXPECT_FALSE(info.visible()) << closer;
        EXPECT_FALSE(r.infoview.window()->isVisible()) << closer;
    }
    // Alt+N, the Info menu's access letter, opens it too
    KeyboardRig::activate(r.mainview);
    r.key(Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(info.visible());
}

// The access letter of a caption ("&File" -> 'f'), 0 for none.
char accessletter(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&' && caption[i + 1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        if (caption[i] == '&')
            ++i;
    }
    return 0;
}

TEST(KeyboardView, EveryMenuHasAnAccessLetterThatNothingElseOfTheWindowUses)
{
    KeyboardRig r;
    ui::MainForm& form = r.program.mainform();
    // the menu bar's entries as drawn
    std::map<char, std::string> used;
    auto take = [&](const std::string& caption, const std::string& who) {
        const char c = accessletter(caption);
        ASSERT_NE(c, 0) << who << ": \"" << caption << "\"";
        EXPECT_TRUE(used.emplace(c, who).second)
            << who << " and " << used[c] << " share the letter " << c;
    };
    const QList<QAction*> bar = r.mainview.window()->findChild<QMenuBar*>()->actions();
    ASSERT_EQ(bar.size(), 5);
    for (QAction* a : bar)
        take(a->text().toStdString(), "menu " + a->text().toStdString());
    EXPECT_EQ(bar[1]->text(), QStringLiteral(" &Options "));
    EXPECT_EQ(bar[2]->text(), QStringLiteral(" Play sour&ce "));
    EXPECT_EQ(bar[3]->text(), QStringLiteral(" Play tar&get "));
    EXPECT_EQ(bar[4]->text(), QStringLiteral(" I&nfo "));
    // the toolbar's buttons and the panel's controls
    for (ui::Control* c : form.toolbar())
        take(c->caption(), c->name());
    for (ui::Control* c : form.frame1.children())
        if (accessletter(c->caption()) != 0)
            take(c->caption(), c->name());
}

TEST(KeyboardView, TabPassesTheStepButtonsWhichStillTakeClicks)
{
    KeyboardRig r;
    r.loadone();
    ui::MainForm& form = r.program.mainform();
    for (ui::Control* b : {&form.cmfrup0, &form.cmfrdn0, &form.cmsecup0, &form.cmsecdn0, &form.cmfrup1,
                           &form.cmfrdn1, &form.cmsecup1, &form.cmsecdn1})
        EXPECT_EQ(r.mainview.widget(*b)->focusPolicy(), Qt::ClickFocus) << b->name();
    form.setfocus(&form.tbox0);
    qttest::settle();
    ASSERT_TRUE(r.mainview.widget(form.tbox0)->hasFocus());
    // Tab from box to box, whatever else the window has between them
    for (int i = 0; i < 12 && !r.mainview.widget(form.tbox1)->hasFocus(); ++i) {
        r.key(Qt::Key_Tab);
        const std::string name = form.focus() ? form.focus()->name() : "";
        EXPECT_NE(name.rfind("cm", 0), 0u) << "Tab stopped at " << name;
    }
    EXPECT_TRUE(r.mainview.widget(form.tbox1)->hasFocus());

    QTest::mouseClick(r.mainview.widget(form.cmfrup0), Qt::LeftButton);
    qttest::settle();
    EXPECT_EQ(r.program.file().cutframes[0], 1);
    EXPECT_EQ(form.cuttime0.caption(), "0.026 s");
}

TEST(KeyboardView, ABoxResetToZeroIsReplacedByWhatIsTyped)
{
    KeyboardRig r;
    r.loadone();
    ui::MainForm& form = r.program.mainform();
    auto* box = qobject_cast<QLineEdit*>(r.mainview.widget(form.tbox0));
    ASSERT_NE(box, nullptr);
    form.setfocus(&form.tbox0);
    qttest::settle();
    QTest::keyClicks(box, QStringLiteral("5"));
    qttest::settle();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    qttest::settle();
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(box, QStringLiteral("2"));
    qttest::settle();
    EXPECT_EQ(box->text(), QStringLiteral("2"));
    EXPECT_EQ(form.tbox0.text(), "2");
    // exact output (the default): the time typed, to the sample
    EXPECT_EQ(form.cuttime0.caption(), "2.000 s");
    // a comma is the decimal point; a minus is refused and changes nothing
    QTest::keyClicks(box, QStringLiteral(",5-"));
    qttest::settle();
    EXPECT_EQ(box->text(), QStringLiteral("2.5"));
    EXPECT_EQ(form.cuttime0.caption(), "2.500 s");
}

// On a LAME-tagged file the label beside the start box says what the save
// removes: one second typed, one second to the sample; the file-name line
// holds the whole path as its tooltip.
TEST(KeyboardView, TheLabelBesideABoxShowsTheTimeTheSaveRemoves)
{
    KeyboardRig r;
    ui::MainForm& form = r.program.mainform();
    const std::string path = r.dir.write("tagged.mp3", qctest::readbytes(qctest::samplepath("tone44-cbr64-tagged.mp3")));
    r.program.openfile(path);
    ASSERT_TRUE(r.program.file().loadok);
    qttest::settle();
    auto* box = qobject_cast<QLineEdit*>(r.mainview.widget(form.tbox0));
    auto* label = qobject_cast<QLabel*>(r.mainview.widget(form.cuttime0));
    auto* info = qobject_cast<QLabel*>(r.mainview.widget(form.infolabel));
    auto* name = qobject_cast<QLabel*>(r.mainview.widget(form.filenamelabel));
    ASSERT_TRUE(box && label && info && name);
    form.setfocus(&form.tbox0);
    qttest::settle();
    QTest::keyClicks(box, QStringLiteral("1"));
    qttest::settle();
    EXPECT_EQ(label->text(), QStringLiteral("1.000 s"));
    EXPECT_TRUE(info->text().contains(QStringLiteral(", 1.6, "))) << info->text().toStdString();
    EXPECT_EQ(name->toolTip(), QString::fromStdString(path));
}

}  // namespace
