// What a dark desktop theme does to the main window as drawn, pixel by
// pixel: the panel's texts stay dark on its fixed light background, for
// labels and check boxes alike (a check box with a style sheet once drew its
// caption in the desktop's light text colour).
#include <QApplication>
#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "qt/form_view.h"
#include "qt_app.h"
#include "ui/main_form.h"

namespace {

double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What the user sees of a control in the window's picture: the colour most
// of its pixels have (its background), and the strongest contrast of any
// pixel right of `from` (past a check box's square) against that colour.
struct Drawn {
    QRgb background = 0;
    double contrast = 1.0;
};

Drawn drawn(const QImage& window, QRect area, int from)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[window.pixel(x, y)];
    Drawn d;
    d.background = std::max_element(counts.begin(), counts.end(), [](auto& l, auto& r) {
                       return l.second < r.second;
                   })->first;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left() + from; x <= area.right(); ++x)
            d.contrast = std::max(d.contrast, contrast(window.pixel(x, y), d.background));
    return d;
}

TEST(DarkDesktopLook, PanelTextsAreDrawnDarkOnTheLightPanel)
{
    const QPalette saved = QApplication::palette();
    // as a desktop's dark theme sets it: colour by colour on the default palette
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    QApplication::setPalette(dark);
    {
        ui::MainForm form;
        qcqt::FormView view(form);
        form.frame1.setenabled(true);
        view.window()->show();
        qttest::settle();
        const QImage picture = view.window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int seen = 0;
        for (ui::Control* c : form.frame1.children()) {
            QWidget* w = view.widget(*c);
            if (!w || !w->isVisible() || c->caption().empty())
                continue;
            if (c->kind() != ui::Kind::Label && c->kind() != ui::Kind::CheckBox)
                continue;
            // (the picture has the screen's pixels: twice as many at 200 % scaling)
            const double scale = picture.devicePixelRatio();
            const QRect logical(w->mapTo(view.window(), QPoint(0, 0)), w->size());
            const QRect area(QPoint(int(logical.left() * scale), int(logical.top() * scale)),
                             QPoint(int((logical.right() + 1) * scale) - 1, int((logical.bottom() + 1) * scale) - 1));
            // a check box's caption starts past its square and the spacing
            const int from =
                int(scale * (c->kind() == ui::Kind::CheckBox ? std::min(w->width() - 1, w->height() + 4) : 0));
            const std::int32_t own = c->color() >= 0 ? c->color() : form.frame1.color();
            const Drawn d = drawn(picture, area, from);
            EXPECT_EQ(QColor(d.background), QColor(QRgb(static_cast<unsigned>(own)))) << c->name();
            EXPECT_GE(d.contrast, 7.0) << c->name() << " \"" << c->caption() << "\"";
            seen += c->kind() == ui::Kind::CheckBox ? 1 : 0;
        }
        EXPECT_EQ(seen, 3);  // the three removal boxes among them
    }
    QApplication::setPalette(saved);
}

// The menu bar under a dark desktop palette: its entries are drawn as the
// bar is, light as the window, with dark text, not as dark boxes on a light
// bar (as its style sheet once drew them under openbox) nor dark throughout.
TEST(DarkDesktopLook, MenuBarEntriesAreDrawnLikeTheBar)
{
    const QPalette saved = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    QApplication::setPalette(dark);
    {
        ui::MainForm form;
        qcqt::FormView view(form);
        view.window()->show();
        qttest::settle();
        QMenuBar* bar = view.window()->menubar();
        const QImage picture = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const double scale = picture.devicePixelRatio();
        const Drawn whole = drawn(picture, picture.rect(), 0);
        EXPECT_GT(luminance(whole.background), 0.5) << "the bar itself is dark";
        int seen = 0;
        for (QAction* a : bar->actions()) {
            if (!a->isVisible() || a->text().isEmpty())
                continue;
            const QRect r = bar->actionGeometry(a);
            const QRect area(QPoint(int(r.left() * scale), int(r.top() * scale)),
                             QPoint(int((r.right() + 1) * scale) - 1, int((r.bottom() + 1) * scale) - 1));
            const Drawn d = drawn(picture, area, 0);
            EXPECT_EQ(QColor(d.background), QColor(whole.background)) << a->text().toStdString();
            // dark text; a disabled entry's grey as readable as the panel's (about 4:1)
            EXPECT_GE(d.contrast, a->isEnabled() ? 7.0 : 4.0) << a->text().toStdString();
            ++seen;
        }
        EXPECT_GE(seen, 5);
    }
    QApplication::setPalette(saved);
}

}  // namespace
