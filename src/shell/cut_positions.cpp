#include "shell/cut_positions.h"

#include <cmath>

#include "cutting/fixed.h"

namespace qc {

namespace {
constexpr double maxcutseconds = 99.9;
}

CutPositions::CutPositions(LoadedFile& file, ui::MainForm& form) : f_(file), w_(form) {}

void CutPositions::wire()
{
    ui::Control* frup[2] = {&w_.cmfrup0, &w_.cmfrup1};
    ui::Control* frdn[2] = {&w_.cmfrdn0, &w_.cmfrdn1};
    ui::Control* secup[2] = {&w_.cmsecup0, &w_.cmsecup1};
    ui::Control* secdn[2] = {&w_.cmsecdn0, &w_.cmsecdn1};
    for (int side = 0; side < 2; ++side) {
        frup[side]->onclick = [this, side] { framemore(side); };
        frdn[side]->onclick = [this, side] { frameless(side); };
        secup[side]->onclick = [this, side] { secondmore(side); };
        secdn[side]->onclick = [this, side] { secondless(side); };
        w_.tbox[side]->onchange = [this, side] { typed(side); };
        w_.tbox[side]->onkeypress = [this, side](char& key) { keypress(side, key); };
        w_.tbox[side]->onenter = [this, side] { entered(side); };
    }
    for (ui::Control* box : {&w_.riffcheck, &w_.headtagcheck, &w_.Foottagcheck})
        box->onclick = [this, box] { removalclick(*box); };
}

void CutPositions::show(int side)
{
    w_.tbox[side]->settext(fixed(f_.cutframes[side] * f_.secondsperframe, 3));
}

void CutPositions::setsave(bool on)
{
    if (stale_)
        on = false;
    w_.savebut.setenabled(on);
    w_.savemenu.setenabled(on);
}

double CutPositions::boxnumber(int side) const
{
    return parsenumber(w_.tbox[side]->text()).value_or(0.0);
}

void CutPositions::framemore(int side)
{
    std::int64_t& cut = f_.cutframes[side];
    cut += 1;
    double s = cut * f_.secondsperframe;
    if (!(s <= maxcutseconds)) {
        cut -= 1;
        s = cut * f_.secondsperframe;
    }
    w_.tbox[side]->settext(fixed(s, 3));
    saveavailability(side);
}

void CutPositions::frameless(int side)
{
    std::int64_t& cut = f_.cutframes[side];
    cut -= 1;
    double s = cut * f_.secondsperframe;
    if (!(s >= 0)) {
        cut += 1;
        s = cut * f_.secondsperframe;
    }
    w_.tbox[side]->settext(fixed(s, 3));
    saveavailability(side);
}

void CutPositions::secondmore(int side)
{
    cutseconds(side, std::trunc(boxnumber(side) + 1.51));
}

void CutPositions::secondless(int side)
{
    if (!parsenumber(w_.tbox[side]->text())) {
        f_.cutframes[side] = 0;
        w_.tbox[side]->settext("0");
        return;
    }
    cutseconds(side, std::trunc(boxnumber(side) - 0.51));
}

// The side's cut set to whole seconds, held to 0..99, in frames, and shown.
void CutPositions::cutseconds(int side, double seconds)
{
    const double s = seconds < 0 ? 0 : seconds > 99 ? 99 : seconds;
    f_.cutframes[side] = static_cast<std::int64_t>(roundeven(s / f_.secondsperframe));
    show(side);
    saveavailability(side);
}

void CutPositions::typed(int side)
{
    std::optional<double> t = parsenumber(w_.tbox[side]->text());
    if (!t) {
        f_.cutframes[side] = 0;
        w_.tbox[side]->settext("0");  // runs this rule again, now with a number
        // the 0 is selected, so that what is typed next replaces it
        w_.tbox[side]->setselection(0, 1);
        return;
    }
    double spf = f_.secondsperframe;
    double frames = *t / spf;
    std::int64_t n;
    if (frames > maxcutseconds / spf)
        n = roundeven(maxcutseconds / spf);
    else
        n = roundeven(frames);
    if (n < 0)
        n = 0;
    f_.cutframes[side] = static_cast<std::int64_t>(n);
    saveavailability(side);
}

void CutPositions::keypress(int side, char& key)
{
    if (key == ui::key_enter) {
        key = 0;
        if (side == 0) {
            w_.setfocus(&w_.tbox1);
            return;
        }
        for (ui::Control* c : {&w_.riffcheck, &w_.headtagcheck, &w_.Foottagcheck, &w_.savebut,
                               &w_.openbut})
            if (c->usable() && w_.setfocus(c))
                return;
        return;
    }
    if (key == ui::key_escape) {
        key = 0;
        f_.cutframes[side] = 0;
        w_.tbox[side]->settext("0");
        w_.tbox[side]->setselection(0, 1);
    }
}

void CutPositions::entered(int side)
{
    ui::Control& box = *w_.tbox[side];
    box.setselection(static_cast<int>(box.text().size()), 0);
}

void CutPositions::applycut(int side, std::int64_t n)
{
    f_.cutframes[side] = n + 1;
    frameless(side);
}

void CutPositions::resetcuts()
{
    f_.cutframes[0] = 0;
    f_.cutframes[1] = 0;
    w_.tbox0.settext("0");
    w_.tbox1.settext("0");
    showtime(0);
    showtime(1);
    for (ui::Control* box : {&w_.riffcheck, &w_.headtagcheck, &w_.Foottagcheck}) {
        box->setchecked(false);
        box->setenabled(true);
    }
}

bool CutPositions::leftout() const
{
    return (f_.leadingstart != 0 && !f_.includeleading) ||
           (f_.betweenstart != 0 && !f_.includebetween) ||
           (f_.afterstart != 0 && !f_.includeafter);
}

bool CutPositions::removalchosen() const
{
    for (const ui::Control* box : {&w_.riffcheck, &w_.headtagcheck, &w_.Foottagcheck})
        if (box->visible() && box->checked())
            return true;
    return false;
}

bool CutPositions::pendingchange() const
{
    return f_.cutframes[0] != 0 || f_.cutframes[1] != 0 || removalchosen() || leftout();
}

void CutPositions::showtime(int side)
{
    w_.cuttime[side]->setcaption(fixed(f_.cutframes[side] * f_.secondsperframe, 3) + " s");
}

void CutPositions::saveavailability(int side)
{
    showtime(side);
    if (f_.cutframes[side] != 0)
        setsave(true);
    else if (f_.cutframes[1 - side] == 0 && !removalchosen() && !leftout())
        setsave(false);
    else if (stale_)
        setsave(false);
    w_.savemenu.setenabled(w_.savebut.enabled());
}

void CutPositions::removalclick(ui::Control& box)
{
    if (box.checked())
        setsave(true);
    else if (!pendingchange())
        setsave(false);
}

}  // namespace qc
