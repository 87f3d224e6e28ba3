// The look of a window that paints its own fixed light background: its
// text, buttons and boxes take fixed colours that suit that background, not
// the desktop's palette (a dark desktop theme would give light text on the
// light grey).
#pragma once

#include <QColor>
#include <QPalette>

namespace qcqt {

// Dark text on the light background; disabled text a darker grey than
// Qt's own, readable (about 4:1) on the window's grey and on the grey of a
// shaded line.
QPalette fixedlook(const QColor& background);

inline constexpr QRgb disabledtext = 0x6E6E6E;

}  // namespace qcqt
