#include "shell/toolbar.h"

#include "shell/menu_mark.h"

namespace qc {

namespace {

constexpr int facegrey = 239;  // each channel of the background

// One channel of the blend of the face colour f with the background: the
// background weighs `back` parts of `parts`.
int blend(int f, int back, int parts)
{
    return ((parts - back) * f + back * facegrey) / parts;
}

std::int32_t blendcolor(std::int32_t face, int back, int parts)
{
    const int r = (face >> 16) & 0xFF, g = (face >> 8) & 0xFF, b = face & 0xFF;
    return (blend(r, back, parts) << 16) | (blend(g, back, parts) << 8) | blend(b, back, parts);
}

}  // namespace

std::array<Outline, 5> borderoutlines(std::int32_t face, int w, int h, int t)
{
    // (3F+G)/4, (F+G)/2, (F+3G)/4, (F+7G)/8, (F+15G)/16, rounded down
    const std::int32_t colors[5] = {blendcolor(face, 1, 4), blendcolor(face, 1, 2),
                                    blendcolor(face, 3, 4), blendcolor(face, 7, 8),
                                    blendcolor(face, 15, 16)};
    std::array<Outline, 5> lines{};
    for (int k = 0; k < 5; ++k)
        lines[static_cast<std::size_t>(k)] = {k, t + k, w - k, h - k, colors[k]};
    return lines;
}

Toolbar::Toolbar(ui::MainForm& form, Settings& settings, ui::EventPump& pump)
    : w_(form), s_(settings), pump_(pump)
{
}

void Toolbar::wire()
{
    w_.picbutmenu.onclick = [this] { choosestyle(1); };
    w_.textbutmenu.onclick = [this] { choosestyle(2); };
    w_.bothbutmenu.onclick = [this] { choosestyle(3); };
    w_.stmenu.onclick = [this] { toggle(); };
}

void Toolbar::applysettings()
{
    if (s_.toolbarmode != 0) {
        setmark(w_.stmenu, true);
        w_.buttonsmenu.setenabled(true);
        if (s_.toolbarstyle >= 1 && s_.toolbarstyle <= 3)
            choosestyle(s_.toolbarstyle);
    } else {
        // the first paint hides the toolbar
        setmark(w_.stmenu, false);
        w_.buttonsmenu.setenabled(false);
    }
}

void Toolbar::choosestyle(int style)
{
    setmark(w_.picbutmenu, style == 1);
    setmark(w_.textbutmenu, style == 2);
    setmark(w_.bothbutmenu, style == 3);
    s_.toolbarstyle = static_cast<std::uint8_t>(style);
    s_.toolbarmode = static_cast<std::uint8_t>(style);
    layout();
}

void Toolbar::toggle()
{
    setmark(w_.stmenu, !w_.stmenu.checked());
    if (w_.stmenu.checked()) {
        w_.buttonsmenu.setenabled(true);
        s_.toolbarmode = s_.toolbarstyle;
        if (s_.toolbarstyle >= 1 && s_.toolbarstyle <= 3)
            choosestyle(s_.toolbarstyle);
    } else {
        w_.buttonsmenu.setenabled(false);
        s_.toolbarmode = 0;
    }
    layout();
}

void Toolbar::layout()
{
    if (w_.minimized())
        return;
    layoutbusy_ = true;
    switch (s_.toolbarmode) {
    case 1:
        heightstep(48);
        for (ui::Control* b : w_.toolbar())
            b->setcaption("");
        picturestep();
        break;
    case 2:
        heightstep(29);
        for (ui::Control* b : w_.toolbar())
            b->setpicture("");
        captionstep(false);
        break;
    case 3:
        heightstep(62);
        picturestep();
        captionstep(true);
        break;
    case 0:
        for (ui::Control* b : {&w_.openbut, &w_.savebut, &w_.playsrcbut, &w_.playbut, &w_.reloadbut})
            b->setvisible(false);
        heightstep(5);
        break;
    default:
        // A mode this program never writes: the buttons stay as they are laid out.
        break;
    }
    if (s_.toolbarmode != 0)
        for (ui::Control* b : w_.toolbar())
            b->setvisible(true);
    pump_.processpending();
    layoutbusy_ = false;
}

void Toolbar::heightstep(int v)
{
    toolbarheight_ = static_cast<std::uint8_t>(v - 5);
    if (toolbarheight_ != 0)
        for (ui::Control* b : w_.toolbar())
            b->setheight(toolbarheight_);
    w_.frame1.settop(v);
    // The model holds the client height; the view sizes the window around it
    // and keeps its top edge, and repaints it from the geometry change.
    w_.setheight(v + 5 + w_.frame1.rect().height);
}

void Toolbar::picturestep()
{
    const auto buttons = w_.toolbar();
    const auto stores = w_.store();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setpicture(stores[i]->picture());
}

void Toolbar::captionstep(bool twoline)
{
    w_.openbut.setcaption("&Load");
    w_.reloadbut.setcaption("&Reload");
    w_.savebut.setcaption("&Save as");
    w_.playsrcbut.setcaption(twoline ? "&Play\r\nsource" : "&Play s.");
    w_.playbut.setcaption(twoline ? "Play\r\n&target" : "Play &t.");
}

void Toolbar::formpaint()
{
    if (w_.minimized())
        return;
    if (!layoutbusy_)
        layout();
}

std::array<Outline, 5> Toolbar::border(std::int32_t face) const
{
    return borderoutlines(face, w_.clientwidth(), w_.clientheight(), toolbarheight_);
}

}  // namespace qc
