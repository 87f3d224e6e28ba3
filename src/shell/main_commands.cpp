// The commands of the main window's File and Options menus and toolbar:
// Open, Reload, the error policy, Info, and the two play commands.
#include "shell/menu_mark.h"
#include "shell/player.h"
#include "shell/program.h"

namespace qc {

void Program::loadmenuClick()
{
    if (file_.busy)
        return;
    opendlg1.initialdir = settings_.loaddir;
    opendlg1.filename.clear();
    if (!platform_.dialogs.execute(opendlg1))
        return;
    openfile(opendlg1.filename);
}

void Program::openfile(const std::string& chosen)
{
    if (file_.busy)
        return;

    // Only what fits the settings record is kept; the old directory stays otherwise.
    const std::string dir = directoryof(chosen);
    if (!dir.empty() && dir.size() <= 255) {
        settings_.loaddir = dir;
        settings_.writesettings();
    }
    // The full name is kept: a name cut short would load, play or replace
    // some other file.
    file_.sourcename = chosen;
    scanner_.scanfile(true);

    form_.reloadbut.setenabled(true);
    form_.reloadmenu.setenabled(true);
    if (file_.loadok) {
        form_.playsrcmenu.setenabled(true);
        form_.playsrcbut.setenabled(true);
    }
}

void Program::reloadbutClick()
{
    if (file_.busy)
        return;
    scanner_.scanfile(false);
}

void Program::setpolicy(int policy)
{
    setmark(form_.failmenu, policy == 0);
    setmark(form_.promptmenu, policy == 1);
    setmark(form_.trymenu, policy == 2);
    settings_.errorpolicy = static_cast<std::uint8_t>(policy);
}

void Program::aboutmenuClick()
{
    infoform_.show();
}

void Program::playsrcmenuClick()
{
    playfile(file_.sourcename, platform_.shell, platform_.box);
}

void Program::playmenuClick()
{
    playfile(writer_.targetname, platform_.shell, platform_.box);
}

}  // namespace qc
