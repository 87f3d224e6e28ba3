#include "ui/info_form.h"

#include <string>

#include "ui/main_form.h"

#ifndef QC_VERSION
#error "QC_VERSION must be defined by the build"
#endif

namespace ui {

const char* programversion()
{
    return QC_VERSION;
}

InfoForm::InfoForm() : Form("ReadmeF")
{
    setcaption(" Info ");
    setrect({0, 0, 280, 132});
    setfont({"Times New Roman", 13});
    setcolor(windowcolor);
    setvisible(false);

    namelabel.setrect({16, 12, 248, 24});
    namelabel.setfont({"Tahoma", 19, true});
    namelabel.setalign(Align::Center);
    namelabel.setcaption(programname);

    versionlabel.setrect({16, 40, 248, 17});
    versionlabel.setfont({"Tahoma", 13});
    versionlabel.setalign(Align::Center);
    versionlabel.setcaption(std::string("version ") + programversion());

    aboutlabel.setrect({16, 62, 248, 32});
    aboutlabel.setfont({"Arial", 11});
    aboutlabel.setalign(Align::Center);
    aboutlabel.setcaption("Trims MPEG-1 Layer III files frame by frame, without re-encoding.");

    okbutton.setrect({105, 100, 70, 24});
    okbutton.setfont({"Tahoma", 11, true});
    okbutton.setcaption("&OK");
    okbutton.onclick = [this] { close(); };
}

}  // namespace ui
