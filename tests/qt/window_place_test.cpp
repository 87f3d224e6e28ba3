// Where the windows go on the screen: the frame kept on the screen's free
// area (title bar first), without the stored position being rewritten, and
// the user's moves taken into the model, never as a negative position.
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include "qt/form_view.h"
#include "qt/window_fit.h"
#include "qt_app.h"
#include "ui/auto_form.h"
#include "ui/main_form.h"

using qcqt::FormView;
using qcqt::fitframe;

TEST(WindowFit, TheFrameIsPulledOntoTheFreeAreaTitleBarFirst)
{
    const QRect area(0, 30, 1280, 690);  // a 1280x720 screen with a 30-pixel panel at its top
    const QMargins frame(1, 20, 1, 1);
    // fits: stays where it was asked to be
    EXPECT_EQ(fitframe({100, 60}, {300, 567}, frame, area), QPoint(100, 60));
    // beyond the right and bottom edges: pulled back so the whole frame shows
    EXPECT_EQ(fitframe({1200, 400}, {300, 567}, frame, area), QPoint(1280 - 302, 720 - 588));
    // above and left of the area (under the panel): moved onto it
    EXPECT_EQ(fitframe({-50, 0}, {300, 567}, frame, area), QPoint(0, 30));
    // taller and wider than the area: the title bar and the left edge win
    EXPECT_EQ(fitframe({100, 300}, {1400, 900}, frame, area), QPoint(0, 30));
    // the frame's size counts: without it the window would just fit
    EXPECT_EQ(fitframe({0, 153}, {300, 567}, {}, area), QPoint(0, 153));
    EXPECT_EQ(fitframe({0, 153}, {300, 567}, frame, area), QPoint(0, 132));
    // no screen: as asked
    EXPECT_EQ(fitframe({5000, -7}, {300, 567}, frame, QRect()), QPoint(5000, -7));
}

TEST(WindowPlace, AnOffScreenPositionShowsTheWindowOnTheScreenButStaysStored)
{
    ui::AutoForm form;  // placed as stored, without the model's own adjustment
    form.setrect({5000, 4000, form.rect().width, form.rect().height});
    FormView view(form);
    view.showifvisible();
    form.show();
    qttest::settle();
    const QRect area = view.window()->screen()->availableGeometry();
    // (the window, with its gain strips, is wider than the test screen:
    // its left edge and title bar show, and all of its height)
    const QRect frame = view.window()->frameGeometry();
    EXPECT_TRUE(area.contains(frame.topLeft())) << frame.x() << "," << frame.y();
    EXPECT_LE(frame.bottom(), area.bottom());
    EXPECT_TRUE(frame.width() <= area.width() ? frame.right() <= area.right() : frame.left() == area.left());
    EXPECT_EQ(form.rect().left, 5000);
    EXPECT_EQ(form.rect().top, 4000);
    form.close();
    EXPECT_EQ(form.rect().left, 5000);  // what closing stores
}

TEST(WindowPlace, TheUsersMovesReachTheModelNeverNegativeAndResizingKeepsTheTop)
{
    ui::MainForm form;
    form.setrect({40, 50, 300, 547});
    FormView view(form);
    view.showifvisible();
    form.show();
    qttest::settle();
    EXPECT_EQ(view.window()->pos(), QPoint(40, 50));

    view.window()->move(120, 80);
    qttest::settle();
    EXPECT_EQ(form.rect().left, 120);
    EXPECT_EQ(form.rect().top, 80);

    // dragged partly off the screen: the window stays there, the model keeps 0
    view.window()->move(-30, -10);
    qttest::settle();
    EXPECT_EQ(form.rect().left, 0);
    EXPECT_EQ(form.rect().top, 0);
    EXPECT_LT(view.window()->pos().x(), 0);  // (not moved back)

    // a new height (the toolbar hidden) leaves the window where it is
    view.window()->move(60, 70);
    qttest::settle();
    form.setheight(480);
    qttest::settle();
    EXPECT_EQ(view.window()->pos(), QPoint(60, 70));
    EXPECT_EQ(form.rect().top, 70);

    // the model moving the window moves it there
    form.setrect({10, 20, 300, 480});
    qttest::settle();
    EXPECT_EQ(view.window()->pos(), QPoint(10, 20));
    form.close();
}

TEST(WindowPlace, AClientAreaTallerThanTheScreenScrollsBelowTheMenuBar)
{
    qcqt::FormWindow w;
    w.menubar();
    w.setclientsize(300, 547);
    w.show();
    qttest::settle();
    const int bar = w.menubarheight();
    EXPECT_EQ(w.size(), QSize(300, 547 + bar));

    w.setheightlimit(400);
    qttest::settle();
    EXPECT_EQ(w.height(), 400 + bar);
    EXPECT_GT(w.width(), 300);              // room for the scroll bar
    EXPECT_EQ(w.client()->size(), QSize(300, 547));  // the controls keep their places
    EXPECT_EQ(w.minimumSize(), w.maximumSize());     // still one fixed size

    w.setheightlimit(600);  // tall enough again: no scrolling
    qttest::settle();
    EXPECT_EQ(w.size(), QSize(300, 547 + bar));
    w.setheightlimit(-1);
    w.setclientsize(300, 480);
    qttest::settle();
    EXPECT_EQ(w.size(), QSize(300, 480 + bar));
}
