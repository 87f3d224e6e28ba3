// The main window's definition: every control with its caption, hint,
// position, font and start state. Handlers are wired by the subsystems
// that own them (cutting, analysis, tags, silence, shell).
#pragma once

#include <array>

#include "ui/control.h"

namespace ui {

inline constexpr std::int32_t windowcolor = 0xEFEFEF;
inline constexpr std::int32_t boxcolor = 0xF8F8F8;
inline constexpr std::int32_t dominantcolor = 0xD0D0D0;
// The hint of the labels under the cut labels when the cuts are whole frames.
inline constexpr const char* cuttimehint = "The time cut: whole frames, the nearest to the number typed";

class MainForm : public Form {
public:
    MainForm();

    // The per-file panel before any file is loaded: no name, the bitrate
    // labels without counts or shading, "no file loaded", and the three
    // structure rows with unchecked boxes. Start-up shows it, and so does
    // every load that fails or is cancelled, so that nothing of the
    // previous file stays in view.
    void showempty();

    // menu bar
    Control menubar{Kind::MenuBar, "menubar", this};
    Control filemenu{Kind::Menu, "filemenu", &menubar};
    Control loadmenu{Kind::MenuItem, "loadmenu", &filemenu};
    Control reloadmenu{Kind::MenuItem, "reloadmenu", &filemenu};
    Control savemenu{Kind::MenuItem, "savemenu", &filemenu};
    Control tracksmenu{Kind::MenuItem, "tracksmenu", &filemenu};
    Control fileseparator{Kind::Separator, "fileseparator", &filemenu};
    Control quitmenu{Kind::MenuItem, "quitmenu", &filemenu};
    Control optmenu{Kind::Menu, "optmenu", &menubar};
    Control failmenu{Kind::MenuItem, "failmenu", &optmenu};
    Control promptmenu{Kind::MenuItem, "promptmenu", &optmenu};
    Control trymenu{Kind::MenuItem, "trymenu", &optmenu};
    Control optseparator{Kind::Separator, "optseparator", &optmenu};
    Control stmenu{Kind::MenuItem, "stmenu", &optmenu};
    Control buttonsmenu{Kind::Menu, "buttonsmenu", &optmenu};
    Control picbutmenu{Kind::MenuItem, "picbutmenu", &buttonsmenu};
    Control textbutmenu{Kind::MenuItem, "textbutmenu", &buttonsmenu};
    Control bothbutmenu{Kind::MenuItem, "bothbutmenu", &buttonsmenu};
    Control exactseparator{Kind::Separator, "exactseparator", &optmenu};
    Control exactmenu{Kind::MenuItem, "exactmenu", &optmenu};
    Control playsrcmenu{Kind::MenuItem, "playsrcmenu", &menubar};
    Control playmenu{Kind::MenuItem, "playmenu", &menubar};
    Control aboutmenu{Kind::MenuItem, "aboutmenu", &menubar};

    // toolbar, left to right
    Control openbut{Kind::Button, "openbut", this};
    Control reloadbut{Kind::Button, "reloadbut", this};
    Control savebut{Kind::Button, "savebut", this};
    Control playsrcbut{Kind::Button, "playsrcbut", this};
    Control playbut{Kind::Button, "playbut", this};
    // hidden, disabled store buttons that keep the toolbar pictures
    Control rezopenbut{Kind::Button, "rezopenbut", this};
    Control rezreloadbut{Kind::Button, "rezreloadbut", this};
    Control rezsavebut{Kind::Button, "rezsavebut", this};
    Control rezplaysrcbut{Kind::Button, "rezplaysrcbut", this};
    Control rezplaybut{Kind::Button, "rezplaybut", this};

    // the per-file panel
    Control frame1{Kind::Panel, "frame1", this};
    Control pbar{Kind::ProgressBar, "pbar", &frame1};
    Control filenamelabel{Kind::Label, "filenamelabel", &frame1};
    Control kbpslabel0{Kind::Label, "kbpslabel0", &frame1};
    Control kbpslabel1{Kind::Label, "kbpslabel1", &frame1};
    Control kbpslabel2{Kind::Label, "kbpslabel2", &frame1};
    Control kbpslabel3{Kind::Label, "kbpslabel3", &frame1};
    Control kbpslabel4{Kind::Label, "kbpslabel4", &frame1};
    Control kbpslabel5{Kind::Label, "kbpslabel5", &frame1};
    Control kbpslabel6{Kind::Label, "kbpslabel6", &frame1};
    Control kbpslabel7{Kind::Label, "kbpslabel7", &frame1};
    Control kbpslabel8{Kind::Label, "kbpslabel8", &frame1};
    Control kbpslabel9{Kind::Label, "kbpslabel9", &frame1};
    Control kbpslabel10{Kind::Label, "kbpslabel10", &frame1};
    Control kbpslabel11{Kind::Label, "kbpslabel11", &frame1};
    Control kbpslabel12{Kind::Label, "kbpslabel12", &frame1};
    Control kbpslabel13{Kind::Label, "kbpslabel13", &frame1};
    Control kbpslabel14{Kind::Label, "kbpslabel14", &frame1};
    Control infolabel{Kind::Label, "infolabel", &frame1};
    Control cutlabel0{Kind::Label, "cutlabel0", &frame1};
    Control cutlabel1{Kind::Label, "cutlabel1", &frame1};
    // the time each cut really takes away, in whole frames
    Control cuttime0{Kind::Label, "cuttime0", &frame1};
    Control cuttime1{Kind::Label, "cuttime1", &frame1};
    Control tbox0{Kind::Edit, "tbox0", &frame1};
    Control tbox1{Kind::Edit, "tbox1", &frame1};
    Control cmfrup0{Kind::Button, "cmfrup0", &frame1};
    Control cmfrdn0{Kind::Button, "cmfrdn0", &frame1};
    Control cmsecup0{Kind::Button, "cmsecup0", &frame1};
    Control cmsecdn0{Kind::Button, "cmsecdn0", &frame1};
    Control cmfrup1{Kind::Button, "cmfrup1", &frame1};
    Control cmfrdn1{Kind::Button, "cmfrdn1", &frame1};
    Control cmsecup1{Kind::Button, "cmsecup1", &frame1};
    Control cmsecdn1{Kind::Button, "cmsecdn1", &frame1};
    Control startautobut{Kind::Button, "startautobut", &frame1};
    Control norifflab{Kind::Label, "norifflab", &frame1};
    Control noheadlabel{Kind::Label, "noheadlabel", &frame1};
    Control nofootlabel{Kind::Label, "nofootlabel", &frame1};
    Control riffcheck{Kind::CheckBox, "riffcheck", &frame1};
    Control headtagcheck{Kind::CheckBox, "headtagcheck", &frame1};
    Control Foottagcheck{Kind::CheckBox, "Foottagcheck", &frame1};
    Control vhtbutton{Kind::Button, "vhtbutton", &frame1};
    Control vftbutton{Kind::Button, "vftbutton", &frame1};
    // opens the Tracks window
    Control tracksbut{Kind::Button, "tracksbut", &frame1};

    // the bitrate-label table (index = bitrate index) and the cut box table (index = side)
    std::array<Control*, 15> kbpslabel{};
    std::array<Control*, 2> tbox{};
    std::array<Control*, 2> cuttime{};

    std::array<Control*, 5> toolbar() { return {&openbut, &reloadbut, &savebut, &playsrcbut, &playbut}; }
    std::array<Control*, 5> store()
    {
        return {&rezopenbut, &rezreloadbut, &rezsavebut, &rezplaysrcbut, &rezplaybut};
    }
};

}  // namespace ui
