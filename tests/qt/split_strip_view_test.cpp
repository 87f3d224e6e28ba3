// The Tracks window's strips and list as painted and used: each split point
// lands on the pixel column the model puts it at, in its colour, the cut
// ends are shaded, and the pointer, the keys and the table reach the model.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTableWidget>
#include <cmath>
#include <gtest/gtest.h>

#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt_app.h"
#include "ui/tracks_form.h"

namespace {

constexpr std::int64_t spf = 1152;

int column(double x)
{
    return static_cast<int>(std::lround(x));
}

struct ShownTracks {
    ShownTracks()
    {
        // flat gains over 600 frames; three points, the second selected
        const std::vector<std::uint8_t> gains(600, 120);
        form.overview.setplot(gains, 0, spf, 0, 600 * spf, 44100);
        form.overview.setpoints({100 * spf, 250 * spf, 480 * spf}, 1);
        form.overview.setkept(40 * spf, 560 * spf);
        form.detail.setplot(gains, 0, spf, 200 * spf, 300 * spf, 44100);
        form.detail.setpoints({100 * spf, 250 * spf, 480 * spf}, 1);
        form.detail.setkept(40 * spf, 560 * spf);
        form.list.setrows({{"1", "00:01.045", "00:02.568", "One"},
                           {"2", "00:06.530", "00:05.224", "Two"},
                           {"3", "00:12.539", "00:02.090", ""}});
        form.list.setselected(1);
        form.show();
        view.showifvisible();
        qttest::settle();
    }
    ui::TracksForm form;
    qcqt::FormView view{form};
};

QImage picture(qcqt::FormView& view, const ui::Control& c)
{
    qttest::settle();
    return view.widget(c)->grab().toImage();
}

TEST(SplitStripView, PointsAndCutEndsArePaintedWhereTheModelPutsThem)
{
    ShownTracks s;
    const ui::SplitStrip& strip = s.form.overview;
    const QImage image = picture(s.view, strip);
    ASSERT_EQ(image.width(), strip.rect().width);
    const ui::Rect plot = strip.plotarea();
    const int low = plot.top + plot.height - 10;  // inside the curve
    const int high = plot.top + 10;                // above it
    for (int i = 0; i < 3; ++i) {
        const std::int32_t colour = i == 1 ? ui::SplitStrip::selectedcolor : ui::SplitStrip::pointcolor;
        const int x = column(strip.pointx(i));
        EXPECT_EQ(qcqt::rgbof(image.pixelColor(x, low)), colour) << i;
        EXPECT_EQ(qcqt::rgbof(image.pixelColor(x, high)), colour) << i;
        // and only there
        EXPECT_NE(qcqt::rgbof(image.pixelColor(x + 3, low)), colour) << i;
        EXPECT_NE(qcqt::rgbof(image.pixelColor(x - 3, low)), colour) << i;
    }
    // the cut ends darker than the kept part at the same height
    const int cutstart = column(strip.samplex(20 * spf)), cutend = column(strip.samplex(580 * spf));
    const int kept = column(strip.samplex(180 * spf));
    EXPECT_LT(qGray(image.pixel(cutstart, high)) + 20, qGray(image.pixel(kept, high)));
    EXPECT_LT(qGray(image.pixel(cutend, high)) + 20, qGray(image.pixel(kept, high)));

    // the detail strip: the one point in its stretch, larger
    const QImage detail = picture(s.view, s.form.detail);
    const int x = column(s.form.detail.pointx(1));
    EXPECT_EQ(qcqt::rgbof(detail.pixelColor(x, s.form.detail.plotarea().top + 10)), ui::SplitStrip::selectedcolor);

    // the painting follows the model: the selection moves to the first point
    s.form.overview.setpoints({100 * spf, 250 * spf, 480 * spf}, 0);
    const QImage after = picture(s.view, strip);
    EXPECT_EQ(qcqt::rgbof(after.pixelColor(column(strip.pointx(0)), low)), ui::SplitStrip::selectedcolor);
    EXPECT_EQ(qcqt::rgbof(after.pixelColor(column(strip.pointx(1)), low)), ui::SplitStrip::pointcolor);
}

TEST(SplitStripView, PointerKeysAndTheTableReachTheModel)
{
    ShownTracks s;
    std::vector<int> selected;
    std::vector<std::pair<int, std::int64_t>> moved;
    std::vector<std::pair<bool, bool>> arrows;
    s.form.overview.onselect = [&](int i) { selected.push_back(i); };
    s.form.overview.onmove = [&](int i, std::int64_t at) { moved.push_back({i, at}); };
    s.form.overview.onarrow = [&](bool r, bool shift) { arrows.push_back({r, shift}); };
    QWidget* w = s.view.widget(s.form.overview);
    const QPointF at(s.form.overview.pointx(2), 60);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    EXPECT_EQ(selected, std::vector<int>{2});
    const QPointF to = at + QPointF(10, 0);
    QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].first, 2);
    EXPECT_EQ(moved[0].second, s.form.overview.sampleatx(static_cast<int>(std::lround(to.x()))));
    QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    EXPECT_EQ(s.form.overview.grabbed(), -1);
    EXPECT_EQ(s.form.focus(), &s.form.overview);

    qttest::presskey(w, Qt::Key_Right, {}, Qt::ShiftModifier);
    qttest::presskey(w, Qt::Key_Left);
    EXPECT_EQ(arrows, (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}}));

    // the table shows the rows, and the user's row and title go to the model
    auto* table = qobject_cast<QTableWidget*>(s.view.widget(s.form.list));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("Two"));
    EXPECT_EQ(table->currentRow(), 1);
    std::vector<int> rows;
    std::vector<std::string> titles;
    s.form.list.onselect = [&](int row) {
        rows.push_back(row);
        s.form.list.setselected(row);
    };
    s.form.list.ontitle = [&](int, const std::string& t) { titles.push_back(t); };
    table->setCurrentCell(2, 3);
    EXPECT_EQ(rows, std::vector<int>{2});
    table->item(2, 3)->setText(QString::fromUtf8("Sz\xC3\xA9p"));
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "Sz\xC3\xA9p");
    // the model kept its title: the table shows it again
    qttest::settle();
    EXPECT_EQ(table->item(2, 3)->text(), QString());
    EXPECT_FALSE(table->item(2, 0)->flags() & Qt::ItemIsEditable);
}

}  // namespace
