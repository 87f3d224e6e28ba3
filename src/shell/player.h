// Hands a file to the program the desktop associates with its type. The
// program plays nothing itself and does not wait for the player.
#pragma once

#include <string>

#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qc {

inline constexpr const char* playererror = "System error trying to start the player!";

// The name goes to the desktop as one path argument, so blanks in it need
// no quoting. A failure to start is reported here; nothing else is seen.
void playfile(const std::string& name, ui::ShellOpen& shell, ui::MessageBox& box);

}  // namespace qc
