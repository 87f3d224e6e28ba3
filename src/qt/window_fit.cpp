#include "qt/window_fit.h"

#include <algorithm>

namespace qcqt {

QPoint fitframe(QPoint wanted, QSize size, QMargins frame, QRect available)
{
    if (!available.isValid())
        return wanted;
    const int width = size.width() + frame.left() + frame.right();
    const int height = size.height() + frame.top() + frame.bottom();
    // Right and bottom edges in first, then the left and top edges, which
    // win when the window is larger than the area: the title bar stays
    // reachable.
    int left = std::min(wanted.x(), available.left() + available.width() - width);
    int top = std::min(wanted.y(), available.top() + available.height() - height);
    left = std::max(left, available.left());
    top = std::max(top, available.top());
    return {left, top};
}

}  // namespace qcqt
