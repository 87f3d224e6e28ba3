#include "shell/silence_window.h"

#include "cutting/fixed.h"
#include "silence/gain_plot.h"

#include <algorithm>
#include <span>

namespace qc {

std::optional<int> readsubtract(const std::string& text)
{
    std::string t;
    for (char c : text)
        if (c != ' ' && c != '\0')
            t += c;
    std::size_t k = 0;
    bool negative = false;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        negative = t[k] == '-';
        ++k;
    }
    if (k == t.size())
        return std::nullopt;
    long value = 0;
    for (; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9')
            return std::nullopt;
        value = value * 10 + (t[k] - '0');
        if (value > 1000000)
            return std::nullopt;  // far outside any range this box accepts
    }
    return static_cast<int>(negative ? -value : value);
}

SilenceWindow::SilenceWindow(LoadedFile& file, ui::AutoForm& form, CutPositions& cuts,
                             ui::MessageBox& box, ui::EventPump& pump, AutoSettings& settings)
    : f_(file), w_(form), cuts_(cuts), box_(box), pump_(pump), settings_(settings)
{
}

int SilenceWindow::automethod(int side) const
{
    std::uint8_t m = side == 0 ? settings_.autousestart : settings_.autouseend;
    return m >= 1 && m <= 3 ? m : 0;
}

std::uint8_t& SilenceWindow::autouse(int side)
{
    return side == 0 ? settings_.autousestart : settings_.autouseend;
}

std::uint8_t& SilenceWindow::autosub(int side)
{
    return side == 0 ? settings_.autosubstart : settings_.autosubend;
}

void SilenceWindow::create()
{
    w_.setleft(settings_.autoleft);
    w_.settop(settings_.autotop);

    // The settings file may hold values this window never writes: a method
    // beyond 3 has no box and means none, a subtraction beyond 99 is the most
    // the up-down control can show.
    for (int side = 0; side < 2; ++side) {
        if (autouse(side) > 3)
            autouse(side) = 0;
        if (autosub(side) > 99)
            autosub(side) = 99;
    }

    w_.onactivate = [this] { formactivate(); };
    w_.ondeactivate = [this] { w_.close(); };  // clicking elsewhere cancels
    w_.onclose = [this] { formclose(); };
    w_.onformkey = [this](char& key) { formkey(key); };
    for (int side = 0; side < 2; ++side) {
        const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
        for (int m = 1; m <= 3; ++m) {
            s.metod[m - 1]->onclick = [this, side, m] { metodclick(side, m); };
            s.autouse[m - 1]->onclick = [this, side, m] { autouseclick(side, m); };
        }
        s.updown->onclick = [this, side] { updownclick(side); };
        s.edit->onchange = [this, side] { editchange(side); };
        s.edit->onenter = [this, side] { editenter(side); };
        s.edit->onkeypress = [this, side](char& key) { editkey(side, key); };
        s.strip->oncut = [this, side](std::int32_t n) { stripcut(side, n); };
    }
    w_.okqabut.onclick = [this] { acceptquiet(0); };
    w_.okqbbut.onclick = [this] { acceptquiet(1); };
    w_.okabut.onclick = [this] { accept(true, false); };
    w_.okbbut.onclick = [this] { accept(false, true); };
    w_.OKbut.onclick = [this] { accept(true, true); };

    for (int side = 0; side < 2; ++side)
        if (int m = automethod(side))
            w_.sides[static_cast<std::size_t>(side)].autouse[static_cast<std::size_t>(m - 1)]->setchecked(true);
}

void SilenceWindow::wire(ui::MainForm& main)
{
    main.startautobut.onclick = [this] { startautobutClick(); };
}

void SilenceWindow::startautobutClick()
{
    if (w_.visible())
        return;  // already open: its own loop is waiting for it
    if (f_.framecount < autominframes) {
        box_.msgbox(toofewframes, 48, "error");
        return;
    }
    state.examinecount = examinecountfor(f_.framecount);
    acceptedstart = -1;
    acceptedend = -1;
    autoresult = 1;

    w_.show();
    // The window closes through its close handler, which settles autoresult;
    // a window hidden any other way ends the wait as well, accepting nothing.
    while (autoresult == 1 && w_.visible())
        pump_.waitforevents();
    if (autoresult == 1)
        autoresult = 0;

    if (autoresult == 0)
        return;
    if (acceptedstart == -1 && acceptedend == -1)
        return;
    if (acceptedstart != -1)
        cuts_.applycut(0, acceptedstart);
    if (acceptedend != -1)
        cuts_.applycut(1, acceptedend);
}

void SilenceWindow::autouseonload()
{
    state.examinecount = examinecountfor(f_.framecount);
    const int startmethod = automethod(0);
    const int endmethod = automethod(1);
    if (startmethod == 0 && endmethod == 0)
        return;

    formactivate();
    if (startmethod != 0) {
        metodclick(0, startmethod);
        accept(true, false);
    }
    // the end's accept step clears acceptedstart
    const std::int16_t keptstart = acceptedstart;
    if (endmethod != 0) {
        metodclick(1, endmethod);
        accept(false, true);
    }
    acceptedstart = keptstart;

    if (startmethod != 0)
        cuts_.applycut(0, acceptedstart);
    if (endmethod != 0)
        cuts_.applycut(1, acceptedend);
}

void SilenceWindow::formactivate()
{
    acceptflag = 0;
    for (int side = 0; side < 2; ++side) {
        picked_[side] = touched_[side] = false;
        opened_[side] = cuts_.saved(side);
    }
    state.proposed[0] = state.proposed[1] = 0;
    for (const ui::AutoForm::Side& s : w_.sides) {
        s.frameslab->setcaption("0");
        s.seclab->setcaption("0");
    }
    state.detected[0] = state.detected[1] = 0;

    w_.UpDowna.setposition(settings_.autosubstart);
    w_.UpDownb.setposition(settings_.autosubend);
    w_.Edit1.settext(std::to_string(w_.UpDowna.position()));
    w_.Edit2.settext(std::to_string(w_.UpDownb.position()));

    if (state.examinecount != 0)
        fillbuffers(state, f_);
    // the quiet parts are read from the whole file: its levels are the recording's
    const std::span<const std::uint8_t> gains(f_.framegain);
    for (int side = 0; side < 2; ++side) {
        quietdetected[side] = static_cast<std::int32_t>(quietedge(gains, side));
        showquiet(side);
    }
    for (int side = 0; side < 2; ++side)
        if (int m = automethod(side))
            metodclick(side, m);
    for (int side = 0; side < 2; ++side)
        showstrip(side);
}

void SilenceWindow::formclose()
{
    autoresult = acceptflag == 1 ? 2 : 0;
    // strip picks of a side that was not accepted are undone
    const bool accepted[2] = {acceptflag == 1 && acceptedstart != -1, acceptflag == 1 && acceptedend != -1};
    for (int side = 0; side < 2; ++side) {
        if (touched_[side] && !accepted[side])
            cuts_.restore(side, opened_[side]);
        touched_[side] = picked_[side] = false;
    }
    settings_.autosubend = static_cast<std::uint8_t>(w_.UpDownb.position());
    settings_.autosubstart = static_cast<std::uint8_t>(w_.UpDowna.position());
    settings_.autoleft = w_.rect().left;
    settings_.autotop = w_.rect().top;
}

void SilenceWindow::formkey(char& key)
{
    if (key != ui::key_escape)
        return;
    key = 0;
    w_.close();
}

void SilenceWindow::metodclick(int side, int method)
{
    picked_[side] = false;
    runmethod(state, side, method);
    showproposal(side);
}

void SilenceWindow::showproposal(int side)
{
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    // a picked cut is the cut itself: the auto-subtract does not apply to it
    state.proposed[side] = picked_[side] ? pickedcut_[side] : proposal(state.detected[side], s.updown->position());
    s.frameslab->setcaption(std::to_string(state.proposed[side]));
    s.seclab->setcaption(fixed(cuts_.frameseconds(side, state.proposed[side]), 3));
    showquiet(side);
    showstrip(side);
}

void SilenceWindow::showstrip(int side)
{
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    const std::array<std::int32_t, 3> methods = methodproposals(state, side, s.updown->position());
    s.strip->setplot(gainseries(state, side), {methods[0], methods[1], methods[2], quietproposed[side]},
                     f_.cutframes[side], f_.secondsperframe);
}

void SilenceWindow::showquiet(int side)
{
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    quietproposed[side] = proposal(quietdetected[side], s.updown->position());
    s.quietlab->setcaption(std::to_string(quietproposed[side]) + " = " +
                           fixed(cuts_.frameseconds(side, quietproposed[side]), 3) + " s");
}

void SilenceWindow::acceptquiet(int side)
{
    pump_.processpending();
    // a quiet end may run past the 1000 frames the methods examine: the
    // accepted value holds up to 32,767 frames, longer ends are cut that far
    const std::int32_t n = std::min<std::int32_t>(quietproposed[side], INT16_MAX);
    acceptedstart = side == 0 ? static_cast<std::int16_t>(n) : std::int16_t{-1};
    acceptedend = side == 1 ? static_cast<std::int16_t>(n) : std::int16_t{-1};
    acceptflag = 1;
    closewindow();
}

void SilenceWindow::stripcut(int side, std::int32_t n)
{
    // the same path as an accepted proposal, so the cut box rules all hold
    cuts_.applycut(side, n);
    touched_[side] = picked_[side] = true;
    pickedcut_[side] = n;
    showproposal(side);
}

void SilenceWindow::accept(bool start, bool end)
{
    pump_.processpending();
    // proposed never exceeds the 1000 examined frames
    acceptedstart = start ? static_cast<std::int16_t>(state.proposed[0]) : std::int16_t{-1};
    acceptedend = end ? static_cast<std::int16_t>(state.proposed[1]) : std::int16_t{-1};
    acceptflag = 1;
    closewindow();
}

void SilenceWindow::closewindow()
{
    // The auto-use run accepts on the hidden window; its closing steps still run.
    if (w_.visible())
        w_.close();
    else
        formclose();
}

void SilenceWindow::autouseclick(int side, int method)
{
    if (uncheckingothers_)
        return;  // the program unchecks the others; the setting stays
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    if (!s.autouse[static_cast<std::size_t>(method - 1)]->checked()) {
        autouse(side) = 0;
        return;
    }
    autouse(side) = static_cast<std::uint8_t>(method);
    uncheckingothers_ = true;
    for (int m = 1; m <= 3; ++m)
        if (m != method)
            s.autouse[static_cast<std::size_t>(m - 1)]->setchecked(false);
    uncheckingothers_ = false;
}

void SilenceWindow::updownclick(int side)
{
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    const int position = s.updown->position();
    s.edit->settext(std::to_string(position));
    w_.setfocus(s.edit);
    s.edit->setselection(static_cast<int>(s.edit->text().size()), 0);
    showproposal(side);
    autosub(side) = static_cast<std::uint8_t>(position);
}

void SilenceWindow::editchange(int side)
{
    const ui::AutoForm::Side& s = w_.sides[static_cast<std::size_t>(side)];
    std::optional<int> v = readsubtract(s.edit->text());
    if (!v || *v < 0 || *v > 99)
        return;  // left as typed; position and proposal keep their values
    s.updown->setposition(*v);
    showproposal(side);
}

void SilenceWindow::editenter(int side)
{
    ui::Control& edit = *w_.sides[static_cast<std::size_t>(side)].edit;
    edit.setselection(static_cast<int>(edit.text().size()), 0);
}

void SilenceWindow::editkey(int side, char& key)
{
    if (key != ui::key_enter)
        return;
    key = 0;
    w_.setfocus(w_.sides[static_cast<std::size_t>(side)].okbut);
}

}  // namespace qc
