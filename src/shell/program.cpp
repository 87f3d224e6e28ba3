#include "shell/program.h"

#include "shell/menu_mark.h"

#include "shell/placement.h"
#include "shell/settings_location.h"

namespace qc {

Program::Program(ui::Platform& platform, std::string exepath)
    : platform_(platform),
      exepath_(std::move(exepath)),
      cuts_(file_, form_),
      writer_(file_, form_, cuts_, platform.box, platform.dialogs),
      settings_(form_, writer_.savedir),
      scanner_(file_, form_, cuts_, platform.box, platform.pump, platform.measure),
      tags_(file_, platform.box),
      silence_(file_, autoform_, cuts_, platform.box, platform.pump, settings_.autos),
      tracks_(file_, tracksform_, cuts_, platform.box, platform.pump, platform.dialogs),
      toolbar_(form_, settings_, platform.pump)
{
    opendlg1.title = " - choose source file - ";
    opendlg1.filter = "Mp3 files|*.mp3|All files|*.*";
    opendlg1.hidereadonly = true;
    opendlg1.pathmustexist = true;
    opendlg1.resizable = true;
    wire();
}

void Program::wire()
{
    for (ui::Control* c : {&form_.loadmenu, &form_.openbut, &form_.rezopenbut})
        c->onclick = [this] { loadmenuClick(); };
    for (ui::Control* c : {&form_.reloadbut, &form_.reloadmenu})
        c->onclick = [this] { reloadbutClick(); };
    form_.failmenu.onclick = [this] { setpolicy(0); };
    form_.promptmenu.onclick = [this] { setpolicy(1); };
    form_.trymenu.onclick = [this] { setpolicy(2); };
    form_.exactmenu.onclick = [this] { exactmenuClick(); };
    form_.aboutmenu.onclick = [this] { aboutmenuClick(); };
    form_.quitmenu.onclick = [this] { form_.close(); };
    infoform_.onformkey = [this](char& key) {
        if (key == ui::key_enter || key == ui::key_escape) {
            key = 0;
            infoform_.close();
        }
    };
    for (ui::Control* c : {&form_.playsrcmenu, &form_.playsrcbut})
        c->onclick = [this] { playsrcmenuClick(); };
    for (ui::Control* c : {&form_.playmenu, &form_.playbut})
        c->onclick = [this] { playmenuClick(); };
    toolbar_.wire();

    cuts_.wire();
    writer_.wire();
    writer_.writesettings = [this] { settings_.writesettings(); };
    tags_.wire(form_);
    silence_.wire(form_);
    // (not on the load that follows a save onto the source: that file is
    // the trimmed one, and its cuts start from none)
    tracks_.wire(form_);
    tracks_.closed = [this] { trackswindowclosed(); };
    cuts_.onchange = [this] { tracks_.cutschanged(); };
    scanner_.afterload = [this] {
        tracks_.fileloaded();
        if (!reloadingsaved_)
            silence_.autouseonload();
    };
    writer_.aftersave = [this] { aftersave(); };

    form_.onclose = [this] { formclose(); };
    form_.onpaint = [this] { paint(); };
    infoform_.onclose = [this] {
        settings_.infoleft = infoform_.rect().left;
        settings_.infotop = infoform_.rect().top;
    };
}

void Program::start()
{
    formcreate();
    createinfo();
    silence_.create();
    createtracks();
}

void Program::formcreate()
{
    form_.playsrcbut.setcaption("&Play\r\nsource");
    form_.playbut.setcaption("Play\r\n&target");
    // The bitrate-label and cut box tables are filled by the window definition.

    // A missing-structure label shows where its removal box would be.
    form_.noheadlabel.setleft(form_.headtagcheck.rect().left);
    form_.norifflab.setleft(form_.riffcheck.rect().left);
    form_.nofootlabel.setleft(form_.Foottagcheck.rect().left);

    file_.proposename = false;
    file_.secondsperframe = spf44;
    file_.cutframes[0] = file_.cutframes[1] = 0;
    form_.tbox0.settext("0");
    form_.tbox1.settext("0");
    file_.busy = false;
    file_.loadok = false;
    settings_.setstartdirectory(homedirectory());
    settings_.path = settingslocation(settingsplaces(exepath_));

    settings_.readsettings(platform_.box);
    writer_.savedirchosen = settings_.savedirstored;
    options_ = readoptions(optionspath(settings_.path));
    setmark(form_.exactmenu, options_.exactoutput);
    writer_.exact = options_.exactoutput;
    tracks_.exact = options_.exactoutput;
    cuts_.setexact(options_.exactoutput);

    toolbar_.applysettings();
    applypolicy();
    placeonscreen(form_, form_.rect().left, form_.rect().top, platform_.screen.width(),
                  platform_.screen.height());
}

void Program::applypolicy()
{
    if (settings_.errorpolicy != 0 && settings_.errorpolicy != 2)
        settings_.errorpolicy = 1;
    setpolicy(settings_.errorpolicy);
}

void Program::createinfo()
{
    infoform_.setvisible(false);
    placeonscreen(infoform_, settings_.infoleft, settings_.infotop, platform_.screen.width(),
                  platform_.screen.height());
}

void Program::createtracks()
{
    tracksform_.setvisible(false);
    const ui::Rect m = form_.rect();
    trackswindow_ = readwindowplace(optionspath(settings_.path), trackswindowkey);
    const WindowPlace at = trackswindow_.value_or(WindowPlace{m.left + m.width + 16, m.top});
    placeonscreen(tracksform_, at.left, at.top, platform_.screen.width(), platform_.screen.height());
}

void Program::trackswindowclosed()
{
    const WindowPlace at{tracksform_.rect().left, tracksform_.rect().top};
    if (trackswindow_ == at)
        return;
    trackswindow_ = at;
    writewindowplace(optionspath(settings_.path), trackswindowkey, at);
}

void Program::formclose()
{
    tracksform_.close();  // its place is kept as when the user closes it
    settings_.writesettings();
}

void Program::paint()
{
    toolbar_.formpaint();
}

void Program::aftersave()
{
    if (!writer_.saveok)
        return;
    scanner_.fileline().saved(writer_.exact ? writtentext(writer_.written)
                                            : copiedtext(writer_.written.frames, writer_.byteswritten));
    if (!writer_.replacesource)
        return;
    // The file on disk is now the saved one: the window loads it again, as
    // Reload does, from no cut and no removal.
    cuts_.resetcuts();
    reloadingsaved_ = true;
    scanner_.scanfile(false);
    reloadingsaved_ = false;
    if (file_.loadok)
        scanner_.fileline().reloadedafterreplace();
}

void Program::exactmenuClick()
{
    options_.exactoutput = !options_.exactoutput;
    setmark(form_.exactmenu, options_.exactoutput);
    writer_.exact = options_.exactoutput;
    tracks_.exact = options_.exactoutput;
    cuts_.setexact(options_.exactoutput);
    scanner_.showinfo();
    writeoptions(optionspath(settings_.path), options_);
}

}  // namespace qc
