#include "qt/border_painter.h"

#include <QPoint>

#include "qt/conversions.h"

namespace qcqt {

void drawoutlines(QPainter& p, const std::array<qc::Outline, 5>& lines)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const qc::Outline& o : lines) {
        QPen pen(qtcolor(o.color));
        pen.setWidth(1);
        pen.setCosmetic(true);
        p.setPen(pen);
        const QPoint corners[5] = {{o.left, o.top}, {o.right, o.top}, {o.right, o.bottom},
                                   {o.left, o.bottom}, {o.left, o.top}};
        p.drawPolyline(corners, 5);
    }
    p.restore();
}

}  // namespace qcqt
