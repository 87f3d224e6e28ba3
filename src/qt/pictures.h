// The button pictures, drawn by our own code in a flat, few-colour style:
// the toolbar pictures (32 x 32 for open, reload and save, 32 x 15 for the
// two play buttons) and the small arrows of the cut step buttons.
#pragma once

#include <QPixmap>
#include <string>

namespace qcqt {

// The picture a control names ("open", "reload", "save", "playsource",
// "playtarget", "frameup", "framedown", "secondup", "seconddown"); a null
// pixmap for any other name.
QPixmap picture(const std::string& name);

// Blank space between a toolbar picture and the caption below it.
int picturespacing(const std::string& name);

}  // namespace qcqt
