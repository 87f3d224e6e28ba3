#include "shell/player.h"

namespace qc {

void playfile(const std::string& name, ui::ShellOpen& shell, ui::MessageBox& box)
{
    if (!shell.open(name))
        box.msgbox(playererror, 48, "unable to play");
}

}  // namespace qc
