#include "shell/cut_positions.h"

#include <algorithm>
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
    if (exact()) {
        // the box shows the cut to the millisecond; the cut stays the sample's
        showing_ = true;
        w_.tbox[side]->settext(fixed(timeline_->seconds(samples_[side]), 3));
        showing_ = false;
        return;
    }
    w_.tbox[side]->settext(fixed(f_.cutframes[side] * f_.secondsperframe, 3));
}

bool CutPositions::cutset(int side) const
{
    return f_.cutframes[side] != 0 || (exact() && samples_[side] != 0);
}

void CutPositions::setsamples(int side, std::int64_t n)
{
    samples_[side] = n;
    f_.cutframes[side] = wholeframes(*timeline_, side, n);
}

std::int64_t CutPositions::maxsamples() const
{
    return secondstosamples(*timeline_, maxcutseconds);
}

// A frame's samples more or less, within 0 .. 99.9 seconds.
void CutPositions::stepsamples(int side, std::int64_t delta)
{
    setsamples(side, std::clamp(samples_[side] + delta, std::int64_t{0}, maxsamples()));
    show(side);
    saveavailability(side);
}

void CutPositions::setexact(bool on)
{
    exact_ = on;
    if (on && f_.loadok && !timeline_)
        timeline_ = readaudiotimeline(f_);
    for (int side = 0; side < 2; ++side)
        typed(side);
}

void CutPositions::loaded(bool ok)
{
    timeline_.reset();
    if (ok && exact_)
        timeline_ = readaudiotimeline(f_);
    if (!exact())
        return;
    for (int side = 0; side < 2; ++side) {
        setsamples(side, samples_[side]);
        showtime(side);
    }
    if (onchange)
        onchange();
}

SampleCuts CutPositions::samplecuts() const
{
    if (!exact())
        return {};
    return {samples_[0], samples_[1]};
}

double CutPositions::frameseconds(int side, std::int64_t n) const
{
    if (exact())
        return timeline_->seconds(framecutsamples(*timeline_, side, n));
    return n * f_.secondsperframe;
}

CutPositions::Saved CutPositions::saved(int side) const
{
    return {f_.cutframes[side], samples_[side], w_.tbox[side]->text()};
}

void CutPositions::restore(int side, const Saved& s)
{
    w_.tbox[side]->settext(s.text);
    f_.cutframes[side] = s.frames;
    samples_[side] = s.samples;
    saveavailability(side);
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
    if (exact()) {
        stepsamples(side, timeline_->samplesperframe);
        return;
    }
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
    if (exact()) {
        stepsamples(side, -timeline_->samplesperframe);
        return;
    }
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
        samples_[side] = 0;
        w_.tbox[side]->settext("0");
        return;
    }
    cutseconds(side, std::trunc(boxnumber(side) - 0.51));
}

// The side's cut set to whole seconds, held to 0..99, in frames, and shown.
void CutPositions::cutseconds(int side, double seconds)
{
    const double s = seconds < 0 ? 0 : seconds > 99 ? 99 : seconds;
    if (exact())
        setsamples(side, secondstosamples(*timeline_, s));
    else
        f_.cutframes[side] = static_cast<std::int64_t>(roundeven(s / f_.secondsperframe));
    show(side);
    saveavailability(side);
}

void CutPositions::typed(int side)
{
    ui::Control& box = *w_.tbox[side];
    if (box.text().find_first_not_of(' ') == std::string::npos) {
        f_.cutframes[side] = 0;
        samples_[side] = 0;
        box.settext("0");  // runs this rule again, now with a number
        // the 0 is selected, so that what is typed next replaces it
        box.setselection(0, 1);
        return;
    }
    std::optional<double> t = readcuttime(box.text());
    if (!t) {
        refuse(side);
        return;
    }
    if (box.text().find(',') != std::string::npos) {
        // a pasted decimal comma: the box shows the point it stands for
        std::string text = box.text();
        std::replace(text.begin(), text.end(), ',', '.');
        box.settext(text);
        return;
    }
    accepted_[side] = box.text();
    if (showing_)
        return;
    if (exact()) {
        const std::int64_t limit = maxsamples();
        setsamples(side, std::min(secondstosamples(*timeline_, *t), limit));
        saveavailability(side);
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

// The box keeps what it last accepted: the value does not change.
void CutPositions::refuse(int side)
{
    ui::Control& box = *w_.tbox[side];
    const int caret = box.caret();
    box.settext(accepted_[side]);
    box.setselection(std::min(caret, static_cast<int>(accepted_[side].size())), 0);
}

void CutPositions::keypress(int side, char& key)
{
    ui::Control& box = *w_.tbox[side];
    if (static_cast<unsigned char>(key) >= 0x20) {
        // a comma is the decimal point; a character that leaves no time is refused
        if (key == ',')
            key = '.';
        std::string text = box.text();
        text.replace(static_cast<std::size_t>(box.caret()), static_cast<std::size_t>(box.sellength()), 1, key);
        if (text == ".") {
            box.settext("0.");
            box.setselection(2, 0);
            key = 0;
        } else if (!readcuttime(text)) {
            key = 0;
        }
        return;
    }
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
        samples_[side] = 0;
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
    if (exact()) {
        samples_[side] = framecutsamples(*timeline_, side, n);
        f_.cutframes[side] = n;
        show(side);
        saveavailability(side);
        return;
    }
    f_.cutframes[side] = n + 1;
    frameless(side);
}

void CutPositions::resetcuts()
{
    f_.cutframes[0] = 0;
    f_.cutframes[1] = 0;
    samples_[0] = samples_[1] = 0;
    w_.tbox0.settext("0");
    w_.tbox1.settext("0");
    showtime(0);
    showtime(1);
    for (ui::Control* box : {&w_.riffcheck, &w_.headtagcheck, &w_.Foottagcheck}) {
        box->setchecked(false);
        box->setenabled(true);
    }
    if (onchange)
        onchange();
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
    return cutset(0) || cutset(1) || removalchosen() || leftout();
}

void CutPositions::showtime(int side)
{
    ui::Control& label = *w_.cuttime[side];
    if (exact()) {
        // to the millisecond, all three decimals: the time is the sample's
        label.setcaption(decimals(timeline_->seconds(samples_[side]), 3) + " s");
        label.sethint("The time the save removes: " + std::to_string(samples_[side]) +
                      " samples of the audio a player plays");
        return;
    }
    label.setcaption(fixed(f_.cutframes[side] * f_.secondsperframe, 3) + " s");
    label.sethint(ui::cuttimehint);
}

void CutPositions::saveavailability(int side)
{
    showtime(side);
    if (cutset(side))
        setsave(true);
    else if (!cutset(1 - side) && !removalchosen() && !leftout())
        setsave(false);
    else if (stale_)
        setsave(false);
    w_.savemenu.setenabled(w_.savebut.enabled());
    if (onchange)
        onchange();
}

void CutPositions::removalclick(ui::Control& box)
{
    if (box.checked())
        setsave(true);
    else if (!pendingchange())
        setsave(false);
}

}  // namespace qc
