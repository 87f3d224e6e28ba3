#include "ui/main_form.h"

namespace ui {

namespace {

void item(Control& c, const char* caption, bool enabled = true)
{
    c.setcaption(caption);
    c.setenabled(enabled);
}

void place(Control& c, int left, int top, int width, int height, const Font& font = {})
{
    c.setrect({left, top, width, height});
    if (!font.name.empty())
        c.setfont(font);
}

}  // namespace

MainForm::MainForm() : Form("mainqcform")
{
    const Font times{"Times New Roman", 13};
    const Font courier{"Courier", 13};
    const Font courier16{"Courier", 16};
    const Font tahomabold{"Tahoma", 13, true};
    const Font arial11{"Arial", 11};
    const Font arial11bold{"Arial", 11, true};
    const Font arial13{"Arial", 13};
    const Font toolfont{"Tahoma", 11, true};

    setcaption("Quillcut");
    setrect({0, 0, 300, 547});
    setfont(times);
    setcolor(windowcolor);

    item(filemenu, " &File ");
    item(loadmenu, "&Open");
    item(reloadmenu, "&Reopen", false);
    item(savemenu, "&Save as", false);
    item(quitmenu, "&Quit");
    item(tracksmenu, "Split into &tracks...", false);
    tracksmenu.setshortcut("Ctrl+T");
    loadmenu.setshortcut("Ctrl+O");
    reloadmenu.setshortcut("Ctrl+R");
    savemenu.setshortcut("Ctrl+S");
    quitmenu.setshortcut("Ctrl+Q");
    // access letters that no button or box of the window uses
    item(optmenu, " &Options ");
    item(failmenu, "&Fail if processing error occurs");
    item(promptmenu, "&Prompt if processing error occurs");
    promptmenu.setchecked(true);
    item(trymenu, "&Attempt to continue if processing error occurs");
    item(stmenu, "&Show toolbar");
    item(buttonsmenu, "&Toolbar as...");
    item(picbutmenu, "&Pictures");
    item(textbutmenu, "&Text");
    item(bothbutmenu, "&Both pictures and text");
    item(exactmenu, "E&xact output (rewrite VBR/gapless header)");
    exactmenu.setchecked(true);
    item(playsrcmenu, " Play sour&ce ", false);
    item(playmenu, " Play tar&get ", false);
    item(aboutmenu, " I&nfo ");
    aboutmenu.setshortcut("F1");

    struct Tool {
        Control& button;
        Control& store;
        const char* caption;
        const char* hint;
        const char* picture;
        bool enabled;
    };
    const Tool tools[5] = {
        {openbut, rezopenbut, "&Load", "Open a file", "open", true},
        {reloadbut, rezreloadbut, "&Reload", "Reopen last opened file (cancel changes)", "reload", false},
        {savebut, rezsavebut, "&Save as", "Save changes", "save", false},
        {playsrcbut, rezplaysrcbut, "Play", "Play last opened file", "playsource", false},
        {playbut, rezplaybut, "Play", "Play last saved file", "playtarget", false},
    };
    int x = 0;
    for (const Tool& t : tools) {
        place(t.button, x, 0, 60, 57, toolfont);
        item(t.button, t.caption, t.enabled);
        t.button.sethint(t.hint);
        t.button.setpicture(t.picture);
        place(t.store, x, 0, 60, 57, toolfont);
        t.store.setpicture(t.picture);
        t.store.setenabled(false);
        t.store.setvisible(false);
        x += 60;
    }

    place(frame1, 5, 62, 290, 475);
    frame1.setcolor(windowcolor);
    frame1.setenabled(false);

    place(pbar, 8, 8, 274, 16);
    pbar.setrange(0, 100);
    pbar.setvisible(false);
    place(filenamelabel, 0, 8, 289, 17, times);

    Control* labels[15] = {&kbpslabel0,  &kbpslabel1,  &kbpslabel2,  &kbpslabel3, &kbpslabel4,
                           &kbpslabel5,  &kbpslabel6,  &kbpslabel7,  &kbpslabel8, &kbpslabel9,
                           &kbpslabel10, &kbpslabel11, &kbpslabel12, &kbpslabel13, &kbpslabel14};
    for (int i = 0; i < 15; ++i)
        place(*labels[i], 11, 32 + 16 * i, 268, 17, courier);

    place(infolabel, 1, 280, 288, 25, tahomabold);

    place(cutlabel0, 16, 320, 97, 17, arial11);
    cutlabel0.setcaption("cut from the st&art: ");
    place(cutlabel1, 16, 360, 97, 17, arial11);
    cutlabel1.setcaption("cut from the &end: ");
    for (Control* t : {&cuttime0, &cuttime1}) {
        t->setfont({"Arial", 10});
        t->setalign(Align::Right);
        t->sethint(cuttimehint);
    }
    place(cuttime0, 16, 337, 93, 13);
    place(cuttime1, 16, 377, 93, 13);
    cutlabel0.setbuddy(&tbox0);
    cutlabel1.setbuddy(&tbox1);
    for (Control* box : {&tbox0, &tbox1}) {
        box->setfont(courier16);
        box->setmaxlength(6);
        box->setcolor(boxcolor);
        box->sethint("Type position for cursor then press OK");
        box->settext("0");
    }
    place(tbox0, 112, 315, 65, 24);
    place(tbox1, 112, 355, 65, 24);

    struct Step {
        Control& button;
        int left, top;
        const char* hint;
        const char* picture;
    };
    const Step steps[8] = {
        {cmfrup0, 176, 310, "Increase by one frame", "frameup"},
        {cmfrdn0, 176, 327, "Decrease by one frame", "framedown"},
        {cmsecup0, 194, 310, "Increase by approximately one second", "secondup"},
        {cmsecdn0, 194, 327, "Decrease by approximately one second", "seconddown"},
        {cmfrup1, 176, 350, "Increase by one frame", "frameup"},
        {cmfrdn1, 176, 367, "Decrease by one frame", "framedown"},
        {cmsecup1, 194, 350, "Increase by approximately one second", "secondup"},
        {cmsecdn1, 194, 367, "Decrease by approximately one second", "seconddown"},
    };
    for (const Step& s : steps) {
        place(s.button, s.left, s.top, 18, 17);
        s.button.sethint(s.hint);
        s.button.setpicture(s.picture);
        s.button.settabstop(false);  // Tab goes from box to box; the buttons are for the mouse
    }

    place(startautobut, 230, 335, 36, 24, arial11bold);
    startautobut.setcaption("A&uto");
    startautobut.sethint("Click to try to automatically determine silence lengths");

    place(riffcheck, 48, 396, 153, 17, arial13);
    riffcheck.setcaption("Remove RIFF &header");
    place(norifflab, 8, 396, 113, 16, arial13);
    norifflab.setcaption("No RIFF header");
    place(headtagcheck, 48, 420, 177, 17, arial13);
    headtagcheck.setcaption("Remove header (ID3v&2) tag");
    place(noheadlabel, 8, 420, 129, 16, arial13);
    noheadlabel.setcaption("No header (ID3v2) tag");
    place(Foottagcheck, 48, 444, 177, 17, arial13);
    Foottagcheck.setcaption("Remove footer (ID3v&1) tag");
    place(nofootlabel, 8, 444, 121, 16, arial13);
    nofootlabel.setcaption("No footer (ID3v1) tag");

    place(vhtbutton, 230, 420, 36, 18, arial11bold);
    vhtbutton.setcaption("v&iew");
    vhtbutton.sethint("Click to view id3v2 tag contents");
    place(vftbutton, 230, 444, 36, 18, arial11bold);
    vftbutton.setcaption("vie&w");
    vftbutton.sethint("Click to view id3v1 tag contents");

    place(tracksbut, 230, 363, 44, 24, arial11bold);
    tracksbut.setcaption("Trac&ks");
    tracksbut.sethint("Split the file into tracks: at its gaps, at points you set, or by a cue sheet");

    kbpslabel = {labels[0], labels[1], labels[2],  labels[3],  labels[4],
                 labels[5], labels[6], labels[7],  labels[8],  labels[9],
                 labels[10], labels[11], labels[12], labels[13], labels[14]};
    tbox = {&tbox0, &tbox1};
    cuttime = {&cuttime0, &cuttime1};
    showempty();
}

void MainForm::showempty()
{
    static const char* const startcaptions[15] = {
        " free kbps frames:", "   32 kbps frames:", "   40 kbps frames:", "   48 kbps frames:",
        "   56 kbps frames:", "   64 kbps frames:", "   80 kbps frames:", "   96 kbps frames:",
        "  112 kbps frames:", "  128 kbps frames:", "  160 kbps frames:", "  192 kbps frames:",
        "  224 kbps frames:", "  256 kbps frames:", "  320 kbps frames:"};
    filenamelabel.setcaption("");
    for (std::size_t i = 0; i < kbpslabel.size(); ++i) {
        kbpslabel[i]->setcaption(startcaptions[i]);
        kbpslabel[i]->setcolor(windowcolor);
    }
    infolabel.setcaption("no file loaded");
    for (Control* box : {&riffcheck, &headtagcheck, &Foottagcheck}) {
        box->setchecked(false);
        box->setenabled(true);
        box->setvisible(true);
    }
    for (Control* view : {&vhtbutton, &vftbutton})
        view->setvisible(true);
    for (Control* l : {&norifflab, &noheadlabel, &nofootlabel}) {
        l->setenabled(true);
        l->setvisible(false);
    }
}

}  // namespace ui
