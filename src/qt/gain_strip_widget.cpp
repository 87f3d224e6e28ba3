#include "qt/gain_strip_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "qt/conversions.h"
#include "qt/strip_painting.h"

namespace qcqt {

namespace {

using namespace strip;

const QColor cutline(0x10, 0x10, 0x10);

QRect qtrect(const ui::Rect& r)
{
    return {r.left, r.top, r.width, r.height};
}

}  // namespace

GainStripWidget::GainStripWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::SizeHorCursor);
}

void GainStripWidget::show(const ui::GainStrip& strip)
{
    strip_ = &strip;
    update();
}

void GainStripWidget::paintEvent(QPaintEvent*)
{
    if (!strip_)
        return;
    const ui::GainStrip& s = *strip_;
    const QRect plot = qtrect(s.plotarea());
    QPainter p(this);
    const QColor text = begin(p, *this, plot, s.caption());
    const QFont small = p.font();

    p.fillRect(plot, plotback);
    // the gain scale
    for (int g : {0, 100, 200}) {
        const int y = column(s.gainy(g));
        p.fillRect(QRect(plot.left(), y, plot.width(), 1), gridline);
        p.setPen(text);
        p.drawText(QRect(0, y - 6, plot.left() - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(g));
    }

    // the gains as steps: frame k spans the boundaries k and k + 1
    const std::vector<std::uint8_t>& gains = s.gains();
    if (!gains.empty()) {
        const double bottom = plot.top() + plot.height();
        QPainterPath curve;
        curve.moveTo(s.boundaryx(0), bottom);
        for (std::size_t k = 0; k < gains.size(); ++k) {
            const double y = s.gainy(gains[k]);
            curve.lineTo(s.boundaryx(static_cast<int>(k)), y);
            curve.lineTo(s.boundaryx(static_cast<int>(k + 1)), y);
        }
        curve.lineTo(s.boundaryx(static_cast<int>(gains.size())), bottom);
        curve.closeSubpath();
        p.save();
        p.setClipRect(plot);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(curveline, 1));
        p.setBrush(curvefill);
        p.drawPath(curve);
        p.restore();
    }

    // the cut, shaded, and its edge with a handle at the foot
    const int from = column(s.cutfrom()), to = column(s.cutto());
    if (to > from)
        p.fillRect(QRect(from, plot.top(), to - from, plot.height()), cutshade);
    const int cx = column(s.cutx());
    p.fillRect(QRect(cx, plot.top(), 1, plot.height()), cutline);
    handle(p, cx, plot.top() + plot.height(), cutline);

    p.setPen(plotframe);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));

    // the proposals over everything else, each label in its own row so that
    // marks in the same place stay readable
    QFont bold = small;
    bold.setBold(true);
    p.setFont(bold);
    for (int m = 1; m <= ui::GainStrip::markcount; ++m) {
        const QColor c = qtcolor(ui::GainStrip::markcolor(m));
        const int x = column(s.markx(m));
        p.fillRect(QRect(x, plot.top(), 1, plot.height()), c);
        const int w = 11, h = 12;
        const int top = plot.top() + 1 + (m - 1) * (h + 1);
        // beside the line, on its left near the right edge
        const int left = x + 1 + w <= plot.left() + plot.width() ? x + 1 : x - w;
        const QRect box(left, top, w, h);
        p.fillRect(box, c);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, QString::fromLatin1(ui::GainStrip::marklabel(m)));
    }

    p.setFont(small);
    timeaxis(p, s.ticks(), plot.top() + plot.height(), 4, *this, text);
    if (hasFocus())
        focusframe(p, plot, text);
}

void GainStripWidget::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (pointed)
        pointed(static_cast<int>(std::lround(e->position().x())));
}

void GainStripWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(e);
        return;
    }
    if (pointed)
        pointed(static_cast<int>(std::lround(e->position().x())));
}

void GainStripWidget::keyPressEvent(QKeyEvent* e)
{
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool other = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!other && (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right)) {
        if (arrowed)
            arrowed(e->key() == Qt::Key_Right, shift);
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);  // Escape and the rest go on to the window
}

}  // namespace qcqt
