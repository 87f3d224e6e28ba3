#include "qt/split_strip_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qt/conversions.h"
#include "qt/strip_painting.h"

namespace qcqt {

namespace {

using namespace strip;

const QColor cursorline(0x30, 0x30, 0x30);

}  // namespace

SplitStripWidget::SplitStripWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SplitStripWidget::show(const ui::SplitStrip& strip)
{
    strip_ = &strip;
    update();
}

void SplitStripWidget::paintEvent(QPaintEvent*)
{
    if (!strip_)
        return;
    const ui::SplitStrip& s = *strip_;
    const ui::Rect r = s.plotarea();
    const QRect plot(r.left, r.top, r.width, r.height);
    QPainter p(this);
    const QColor text = begin(p, *this, plot, s.caption());

    p.fillRect(plot, plotback);
    for (int g : {100, 200})
        p.fillRect(QRect(plot.left(), column(s.gainy(g)), plot.width(), 1), gridline);

    // the loudest gain under each column, filled to the bottom
    const std::vector<int> columns = s.columns();
    const int bottom = plot.top() + plot.height();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c] < 0)
            continue;
        const int x = plot.left() + static_cast<int>(c);
        const int y = column(s.gainy(columns[c]));
        p.fillRect(QRect(x, y, 1, bottom - y), curvefill);
        p.fillRect(QRect(x, y, 1, 1), curveline);
    }

    // the cut ends, shaded
    const int left = column(s.keptfromx()), right = column(s.kepttox());
    if (left > plot.left())
        p.fillRect(QRect(plot.left(), plot.top(), left - plot.left(), plot.height()), cutshade);
    if (right < plot.left() + plot.width())
        p.fillRect(QRect(right, plot.top(), plot.left() + plot.width() - right, plot.height()), cutshade);

    p.setPen(plotframe);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));

    // the picked place
    if (s.cursor() >= 0 && s.shows(s.cursor())) {
        p.setPen(QPen(cursorline, 1, Qt::DotLine));
        const int x = column(s.samplex(s.cursor()));
        p.drawLine(x, plot.top(), x, bottom - 1);
    }

    // the points over everything else, the selected one last, with a handle at its foot
    const int n = static_cast<int>(s.points().size());
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < n; ++i) {
            const bool selected = i == s.selected();
            if (selected != (pass == 1) || !s.shows(s.points()[static_cast<std::size_t>(i)]))
                continue;
            const QColor c = qtcolor(selected ? ui::SplitStrip::selectedcolor : ui::SplitStrip::pointcolor);
            const int x = column(s.pointx(i));
            p.fillRect(QRect(x, plot.top(), 1, plot.height()), c);
            if (selected)
                p.fillRect(QRect(x - 1, plot.top(), 3, 4), c);
            handle(p, x, bottom, c);
        }

    timeaxis(p, s.ticks(), bottom, 6, *this, text);
    if (hasFocus())
        focusframe(p, plot, text);
}

void SplitStripWidget::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (pressed)
        pressed(static_cast<int>(std::lround(e->position().x())));
}

void SplitStripWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(e);
        return;
    }
    if (dragged)
        dragged(static_cast<int>(std::lround(e->position().x())));
}

void SplitStripWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && released)
        released();
    QWidget::mouseReleaseEvent(e);
}

void SplitStripWidget::keyPressEvent(QKeyEvent* e)
{
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool other = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!other && (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right)) {
        if (arrowed)
            arrowed(e->key() == Qt::Key_Right, shift);
        e->accept();
        return;
    }
    if (!other && e->key() == Qt::Key_Delete) {
        if (deleted)
            deleted();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);  // Escape and the rest go on to the window
}

}  // namespace qcqt
