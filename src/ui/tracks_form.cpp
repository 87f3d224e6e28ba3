#include "ui/tracks_form.h"

namespace ui {

namespace {

void place(Control& c, int left, int top, int width, int height)
{
    c.setrect({left, top, width, height});
}

void label(Control& c, const char* caption, const char* hint = "")
{
    c.setcaption(caption);
    c.sethint(hint);
}

constexpr const char* striphint =
    "click a point to select it, drag it to move it; Left/Right move the selected point a frame, with "
    "Shift a second; a click elsewhere selects the track there";
constexpr const char* gaphint = "the shortest quiet stretch taken for a gap between tracks, in seconds";

}  // namespace

TracksForm::TracksForm() : Form("TracksForm")
{
    setcaption("Tracks");
    setrect({0, 0, 760, 546});
    setfont({"Tahoma", 11});
    setvisible(false);  // created hidden, opened from the main window
    setminimizebox(false);

    place(overview, 8, 8, 744, 132);
    label(overview, "the whole file: frame gain, the split points, the cut ends shaded", striphint);
    place(detail, 8, 146, 744, 112);
    label(detail, "around the selected point", striphint);

    place(findbut, 8, 266, 89, 25);
    label(findbut, "&Find gaps", "split at the quiet stretches between tracks, found from the frames' gains");
    place(mingaplabel, 104, 270, 80, 17);
    label(mingaplabel, "minimum &gap:", gaphint);
    mingaplabel.setalign(Align::Right);
    mingaplabel.setbuddy(&mingapedit);
    place(mingapedit, 188, 266, 40, 24);
    mingapedit.setmaxlength(6);
    mingapedit.settext("1.0");
    mingapedit.sethint(gaphint);
    place(mingapunit, 232, 270, 16, 17);
    label(mingapunit, "s", gaphint);
    place(addbut, 264, 266, 89, 25);
    label(addbut, "&Add point", "split where you last clicked the strips, or in the middle of the selected track");
    place(removebut, 360, 266, 89, 25);
    label(removebut, "&Remove point", "join the selected track to the one before it");
    place(importbut, 556, 266, 96, 25);
    label(importbut, "&Import cue...", "take the points and titles of a cue sheet");
    place(exportbut, 656, 266, 96, 25);
    label(exportbut, "&Export cue...", "write a cue sheet of these tracks");

    place(list, 8, 300, 744, 200);
    list.sethint("the tracks as they will be written; double-click a title to edit it");

    place(statuslabel, 8, 514, 560, 17);
    place(pbar, 8, 514, 440, 16);
    pbar.setrange(0, 100);
    pbar.setvisible(false);
    place(cancelbut, 456, 510, 89, 25);
    label(cancelbut, "&Cancel", "stop after the track being written: the tracks written stay, none is left partial");
    cancelbut.setvisible(false);
    place(writebut, 640, 508, 112, 27);
    label(writebut, "&Write tracks...", "write each track into a folder you choose");
}

std::vector<Control*> TracksForm::editing()
{
    return {&overview, &detail,    &findbut,   &mingapedit, &addbut, &removebut,
            &importbut, &exportbut, &list,      &writebut};
}

std::vector<Control*> TracksForm::taborder()
{
    return {&overview,  &detail,    &findbut, &mingapedit, &addbut,   &removebut,
            &importbut, &exportbut, &list,    &cancelbut,  &writebut};
}

}  // namespace ui
