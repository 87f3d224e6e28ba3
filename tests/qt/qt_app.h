// The one QApplication of the widget tests (offscreen unless the caller
// chose a platform), and small helpers that act as the user would.
#pragma once

#include <QKeyEvent>
#include <QWidget>

namespace qttest {

// Sends a key press (and its release) to w, as typing it would.
void presskey(QWidget* w, int key, const QString& text = {},
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types every character of text into w.
void typetext(QWidget* w, const QString& text);
// Lets queued events run (deferred handlers, paints).
void settle();

}  // namespace qttest
