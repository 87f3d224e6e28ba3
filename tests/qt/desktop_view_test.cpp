// The windows as a desktop user meets them: access keys, colours that stay
// readable under any desktop palette, the window manager's buttons and the
// program's own placement.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

#include "qt/form_view.h"
#include "qt/window_look.h"
#include "qt_app.h"
#include "ui/auto_form.h"
#include "ui/info_form.h"
#include "ui/main_form.h"

namespace {

using qcqt::FormView;

double luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background a control is drawn on: its own fixed colour, else its parents'.
QColor backgroundof(const ui::Control& c)
{
    for (const ui::Control* p = &c; p; p = p->parent())
        if (p->color() >= 0)
            return QColor(QRgb(static_cast<unsigned>(p->color())));
    return {};
}

class DarkDesktop {
public:
    DarkDesktop() : saved_(QApplication::palette())
    {
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2A, 0x2A, 0x2A));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        QApplication::setPalette(dark);
    }
    ~DarkDesktop() { QApplication::setPalette(saved_); }
    DarkDesktop(const DarkDesktop&) = delete;
    DarkDesktop& operator=(const DarkDesktop&) = delete;

private:
    QPalette saved_;
};

TEST(DesktopView, PanelTextStaysReadableUnderADarkDesktopPalette)
{
    DarkDesktop desktop;
    ui::MainForm form;
    form.kbpslabel9.setcolor(ui::dominantcolor);  // the shaded line of the most frequent bitrate
    FormView view(form);
    auto check = [&](bool enabled) {
        int seen = 0;
        for (ui::Control* c : form.frame1.children()) {
            if (c->kind() != ui::Kind::Label && c->kind() != ui::Kind::CheckBox)
                continue;
            QWidget* w = view.widget(*c);
            ASSERT_NE(w, nullptr);
            ASSERT_EQ(w->isEnabled(), enabled) << c->name();
            const QColor text = w->palette().color(enabled ? QPalette::Active : QPalette::Disabled, w->foregroundRole());
            const double ratio = contrast(text, backgroundof(*c));
            EXPECT_GE(ratio, enabled ? 7.0 : 3.0) << c->name() << (enabled ? " enabled: " : " disabled: ")
                                                  << text.name().toStdString() << " on "
                                                  << backgroundof(*c).name().toStdString();
            ++seen;
        }
        EXPECT_GE(seen, 20);
    };
    check(false);  // at start the panel is disabled
    form.frame1.setenabled(true);
    check(true);
    // the window's own look also for its menu bar and buttons
    EXPECT_EQ(view.window()->palette().color(QPalette::ButtonText), QColor(Qt::black));

    // a window without a colour of its own follows the desktop
    ui::AutoForm autoform;
    FormView autoview(autoform);
    EXPECT_EQ(autoview.window()->palette().color(QPalette::WindowText), QColor(0xEE, 0xEE, 0xEE));
}

TEST(DesktopView, FixedSizeWindowsOfferNoMaximiseAndTheAutoWindowOnlyClose)
{
    ui::MainForm form;
    ui::AutoForm autoform;
    ui::InfoForm info;
    FormView mainview(form), autoview(autoform), infoview(info);
    for (FormView* v : {&mainview, &autoview, &infoview}) {
        const Qt::WindowFlags f = v->window()->windowFlags();
        EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint) << v->form().name();
        EXPECT_TRUE(f & Qt::WindowCloseButtonHint) << v->form().name();
        // the window manager is told the window has one size
        v->window()->show();
        qttest::settle();
        EXPECT_EQ(v->window()->minimumSize(), v->window()->maximumSize()) << v->form().name();
        v->window()->hide();
    }
    EXPECT_TRUE(mainview.window()->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(autoview.window()->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(DesktopView, AWindowAtZeroZeroIsPlacedThereByTheProgram)
{
    ui::MainForm form;
    ASSERT_EQ(form.rect().left, 0);
    ASSERT_EQ(form.rect().top, 0);
    FormView view(form);
    // without the move the window manager would choose the place
    EXPECT_TRUE(view.window()->testAttribute(Qt::WA_Moved));
    EXPECT_EQ(view.window()->pos(), QPoint(0, 0));
}

TEST(DesktopView, TheCutLabelsAccessKeysFocusTheirBoxes)
{
    ui::MainForm form;
    form.frame1.setenabled(true);
    FormView view(form);
    form.show();
    view.showifvisible();
    view.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.window()));
    form.setfocus(&form.tbox1);
    qttest::settle();
    QTest::keyClick(view.window(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(form.focus(), &form.tbox0);
    EXPECT_TRUE(view.widget(form.tbox0)->hasFocus());
    QTest::keyClick(view.window(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(form.focus(), &form.tbox1);
    EXPECT_TRUE(view.widget(form.tbox1)->hasFocus());
    // a disabled panel's box takes no focus
    form.frame1.setenabled(false);
    QTest::keyClick(view.window(), Qt::Key_A, Qt::AltModifier);
    EXPECT_NE(form.focus(), &form.tbox0);
    form.close();
}

}  // namespace
