// Keeping a window on the screen when it is placed at a stored position.
#pragma once

#include "ui/control.h"

namespace qc {

// Moves the window to (left, top), then pulls it back so that it lies wholly
// on a screen of the given size, and never to a negative coordinate.
void placeonscreen(ui::Form& window, int left, int top, int screenwidth, int screenheight);

}  // namespace qc
