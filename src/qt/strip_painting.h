// What the gain strips of the silence window and the Tracks window paint
// alike: their colours, the caption above the plot, the handle at the foot
// of a line, the time axis below and the focus frame around it.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QWidget>
#include <cmath>
#include <string>
#include <vector>

#include "ui/gain_strip.h"

namespace qcqt::strip {

inline const QColor plotback(0xFF, 0xFF, 0xFF);
inline const QColor curvefill(0xB9, 0xC9, 0xDB);
inline const QColor curveline(0x46, 0x64, 0x86);
inline const QColor gridline(0xE4, 0xE4, 0xE4);
inline const QColor cutshade(0x50, 0x50, 0x50, 0x70);
inline const QColor plotframe(0x90, 0x90, 0x90);

// One pixel column, exactly where the model puts it.
inline int column(double x)
{
    return static_cast<int>(std::lround(x));
}

// Sets the strip's small font on the painter, draws the caption above the
// plot and returns the colour of text in the widget's state.
QColor begin(QPainter& p, const QWidget& w, const QRect& plot, const std::string& caption);

// A filled triangle pointing up at the foot of a line at x.
void handle(QPainter& p, int x, int foot, const QColor& c);

// The ticks and their labels below top, the labels gap pixels down, kept
// inside the widget's width.
void timeaxis(QPainter& p, const std::vector<ui::Tick>& ticks, int top, int gap, const QWidget& w,
              const QColor& text);

// The dotted frame of a strip that has the focus.
void focusframe(QPainter& p, const QRect& plot, const QColor& text);

}  // namespace qcqt::strip
