// What a dark desktop theme does to the main window as drawn, pixel by
// pixel: the panel's texts stay dark on its fixed light background, for
// labels and check boxes alike (a check box with a style sheet once drew its
// caption in the desktop's light text colour).
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

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

// The strongest contrast between the control's background colour and any
// pixel of the drawn widget right of `from` (past a check box's square).
double drawncontrast(QWidget* w, QRgb background, int from)
{
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(QStringLiteral("/tmp/grab-%1.png").arg(w->objectName().isEmpty() ? QString::number(quintptr(w)) : w->objectName()));
    double best = 1.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = from; x < image.width(); ++x)
            best = std::max(best, contrast(image.pixel(x, y), background));
    return best;
}

TEST(DarkDesktopLook, PanelTextsAreDrawnDarkOnTheLightPanel)
{
    const QPalette saved = QApplication::palette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2A, 0x2A, 0x2A));
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
        int seen = 0;
        for (ui::Control* c : form.frame1.children()) {
            QWidget* w = view.widget(*c);
            if (!w || !w->isVisible() || c->caption().empty())
                continue;
            if (c->kind() != ui::Kind::Label && c->kind() != ui::Kind::CheckBox)
                continue;
            // a check box's caption starts past its square and the spacing
            const int from = c->kind() == ui::Kind::CheckBox ? std::min(w->width() - 1, w->height() + 4) : 0;
            const std::int32_t own = c->color() >= 0 ? c->color() : form.frame1.color();
            const QRgb background = QColor(QRgb(static_cast<unsigned>(own))).rgb();
            std::printf("%s %d %.2f vis\n", c->name().c_str(), int(c->kind()), drawncontrast(w, background, from));
            EXPECT_GE(drawncontrast(w, background, from), 7.0) << c->name() << " \"" << c->caption() << "\"";
            ++seen;
        }
        EXPECT_GE(seen, 3);
    }
    QApplication::setPalette(saved);
}

}  // namespace
