// The gain strips as painted: each mark, the cut and its shading land on the
// pixels the model puts them at, and the pointer and arrow keys on the
// widget reach the model.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <cmath>
#include <gtest/gtest.h>

#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt_app.h"
#include "stream/loaded_file.h"
#include "ui/auto_form.h"

namespace {

int column(double x)
{
    return static_cast<int>(std::lround(x));
}

QImage picture(qcqt::FormView& view, const ui::Control& c)
{
    qttest::settle();
    return view.widget(c)->grab().toImage();
}

struct ShownStrips {
    ShownStrips()
    {
        // flat gains, so that one height shows the same curve everywhere
        // the three methods' proposals and the quiet part's
        form.gainstripa.setplot(std::vector<std::uint8_t>(300, 120), {40, 130, 220, 180}, 80, qc::spf44);
        form.gainstripb.setplot(std::vector<std::uint8_t>(300, 120), {25, 90, 160, 120}, 60, qc::spf44);
        form.show();
        view.showifvisible();
        qttest::settle();
    }
    ui::AutoForm form;
    qcqt::FormView view{form};
};

TEST(GainStripView, MarksAndCutArePaintedWhereTheModelPutsThem)
{
    ShownStrips s;
    for (const ui::GainStrip* strip : {&s.form.gainstripa, &s.form.gainstripb}) {
        SCOPED_TRACE(strip->name());
        const QImage image = picture(s.view, *strip);
        ASSERT_EQ(image.width(), strip->rect().width);
        const ui::Rect plot = strip->plotarea();
        const int low = plot.top + plot.height - 10;  // under the labels, inside the curve
        for (int m = 1; m <= ui::GainStrip::markcount; ++m) {
            const int x = column(strip->markx(m));
            EXPECT_EQ(qcqt::rgbof(image.pixelColor(x, low)), ui::GainStrip::markcolor(m)) << m;
            EXPECT_EQ(qcqt::rgbof(image.pixelColor(x, plot.top + plot.height / 2)),
                      ui::GainStrip::markcolor(m));
            // and only there: the columns beside it are not its colour
            EXPECT_NE(qcqt::rgbof(image.pixelColor(x + 3, low)), ui::GainStrip::markcolor(m));
        }
        // the cut's edge is dark, the shaded side darker than the kept side
        EXPECT_LT(qGray(image.pixel(column(strip->cutx()), low)), 60);
        const int inside = column((strip->cutfrom() + strip->cutto()) / 2);
        const int kept = strip->side() == 0 ? column(strip->boundaryx(290)) : column(strip->boundaryx(10));
        EXPECT_LT(qGray(image.pixel(inside, low)) + 20, qGray(image.pixel(kept, low)));
    }

    // the painting follows the model
    s.form.gainstripa.setplot(std::vector<std::uint8_t>(300, 120), {250, 130, 220}, 80, qc::spf44);
    const QImage image = picture(s.view, s.form.gainstripa);
    const ui::Rect plot = s.form.gainstripa.plotarea();
    EXPECT_EQ(qcqt::rgbof(image.pixelColor(column(s.form.gainstripa.markx(1)), plot.top + plot.height - 10)),
              ui::GainStrip::markcolor(1));
}

TEST(GainStripView, PointerAndKeysReachTheModel)
{
    ShownStrips s;
    std::vector<std::int32_t> cuts;
    s.form.gainstripa.oncut = [&](std::int32_t n) { cuts.push_back(n); };
    QWidget* w = s.view.widget(s.form.gainstripa);
    const QPointF at(s.form.gainstripa.boundaryx(150), 60);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0], 150);
    EXPECT_TRUE(w->hasFocus());
    EXPECT_EQ(s.form.focus(), &s.form.gainstripa);

    qttest::presskey(w, Qt::Key_Left);
    qttest::presskey(w, Qt::Key_Right, {}, Qt::ShiftModifier);
    ASSERT_EQ(cuts.size(), 3u);
    EXPECT_EQ(cuts[1], 79);  // from the model's cut, 80
    EXPECT_EQ(cuts[2], 80 + std::lround(1 / qc::spf44));

    // Escape still reaches the window
    bool escaped = false;
    s.form.onformkey = [&](char& key) { escaped = key == ui::key_escape; };
    qttest::presskey(w, Qt::Key_Escape);
    EXPECT_TRUE(escaped);
}

}  // namespace
