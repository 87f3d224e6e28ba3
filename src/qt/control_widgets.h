// The widget that shows each kind of control, and the copy of a control's
// state (geometry, font, colour, hint, enabled, visible, caption, text,
// check mark, position, picture) onto its widget.
#pragma once

#include <QWidget>

#include "ui/control.h"

namespace qcqt {

// A new widget for a control of this kind inside parent; nullptr for the
// menu kinds and the form, which are not child widgets.
QWidget* makewidget(ui::Kind kind, QWidget* parent);

// Makes the widget show the control's current state. Setting a property to
// the value it has is cheap, so this runs on every change of the control.
void syncwidget(const ui::Control& c, QWidget* w);

}  // namespace qcqt
