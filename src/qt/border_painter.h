// Draws the main window's shaded border: closed one-pixel outlines, each
// through its four corners and back to the first.
#pragma once

#include <QPainter>
#include <array>

#include "shell/toolbar.h"

namespace qcqt {

void drawoutlines(QPainter& p, const std::array<qc::Outline, 5>& lines);

}  // namespace qcqt
