#include "qt/strip_painting.h"

#include <algorithm>

#include "qt/conversions.h"

namespace qcqt::strip {

QColor begin(QPainter& p, const QWidget& w, const QRect& plot, const std::string& caption)
{
    QFont small = w.font();
    small.setPixelSize(10);
    small.setItalic(false);
    p.setFont(small);
    const QColor text =
        w.palette().color(w.isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    p.setPen(text);
    p.drawText(QRect(plot.left(), 0, plot.width(), plot.top()), Qt::AlignLeft | Qt::AlignVCenter,
               displaytext(caption));
    return text;
}

void handle(QPainter& p, int x, int foot, const QColor& c)
{
    const QPointF at(x + 0.5, foot);
    const QPointF triangle[3] = {at, at + QPointF(-4, 6), at + QPointF(4, 6)};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(triangle, 3);
    p.restore();
}

void timeaxis(QPainter& p, const std::vector<ui::Tick>& ticks, int top, int gap, const QWidget& w,
              const QColor& text)
{
    p.setPen(text);
    for (const ui::Tick& t : ticks) {
        const int x = column(t.x);
        p.fillRect(QRect(x, top, 1, 3), text);
        const QString label = toqt(t.text);
        const int width = p.fontMetrics().horizontalAdvance(label) + 2;
        const int left = std::clamp(x - width / 2, 0, std::max(0, w.width() - width));
        p.drawText(QRect(left, top + gap, width, w.height() - top - gap), Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

void focusframe(QPainter& p, const QRect& plot, const QColor& text)
{
    p.setPen(QPen(text, 1, Qt::DotLine));
    p.drawRect(plot.adjusted(-2, -2, 1, 1));
}

}  // namespace qcqt::strip
