// Where a window's frame goes so that the whole window, or at least its
// title bar and left edge, is on the screen's free area (the screen less
// the desktop's panels). The window's wanted place is not changed by this:
// it stays what the settings hold.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qcqt {

// wanted: the frame's outer corner; size: the window's client size (menu
// bar included); frame: the frame's margins (none known yet: zero);
// available: the free area (invalid: no screen, wanted is kept).
QPoint fitframe(QPoint wanted, QSize size, QMargins frame, QRect available);

}  // namespace qcqt
