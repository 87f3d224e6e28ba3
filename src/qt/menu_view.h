// The menu bar of a form: its menus become QMenus, its items and separators
// QActions. Check marks show only on checked items, as the items of the
// window's menus are plain items that their handlers check and uncheck.
#pragma once

#include <QAction>
#include <functional>

#include "ui/control.h"

class QMenuBar;

namespace qcqt {

// Adds every menu and item below menubar (a control of kind MenuBar) to bar;
// made tells each control with the action that stands for it (a menu's own
// action for a menu).
void buildmenus(ui::Control& menubar, QMenuBar* bar,
                const std::function<void(ui::Control&, QAction*)>& made);

void syncaction(const ui::Control& c, QAction* a);

}  // namespace qcqt
