// The silence detection window's definition: two groups of the same
// controls, one for the start of the file and one for its end, and the
// "Accept BOTH" button below them. The logic lives in silence/.
//
// Up-down controls: a click on an arrow moves the position by one within
// the range (no wrap) and then runs the control's onclick, as
// clickupdown() does; the view forwards its arrow clicks through it.
#pragma once

#include <array>
#include <vector>

#include "ui/control.h"
#include "ui/gain_strip.h"

namespace ui {

class AutoForm : public Form {
public:
    AutoForm();

    Control toplabel{Kind::Label, "toplabel", this};

    Control frame1{Kind::Group, "frame1", this};
    Control metod1a{Kind::Button, "metod1a", &frame1};
    Control autouse1a{Kind::CheckBox, "autouse1a", &frame1};
    Control metod2a{Kind::Button, "metod2a", &frame1};
    Control autouse2a{Kind::CheckBox, "autouse2a", &frame1};
    Control metod3a{Kind::Button, "metod3a", &frame1};
    Control autouse3a{Kind::CheckBox, "autouse3a", &frame1};
    Control sublabela{Kind::Label, "sublabela", &frame1};
    Control Edit1{Kind::Edit, "Edit1", &frame1};
    Control UpDowna{Kind::UpDown, "UpDowna", &frame1};
    Control unitlabela{Kind::Label, "unitlabela", &frame1};
    Control reclabela{Kind::Label, "reclabela", &frame1};
    Control framestitlea{Kind::Label, "framestitlea", &frame1};
    Control sectitlea{Kind::Label, "sectitlea", &frame1};
    Control framesalab{Kind::Label, "framesalab", &frame1};
    Control secalab{Kind::Label, "secalab", &frame1};
    Control okabut{Kind::Button, "okabut", &frame1};

    Control frame2{Kind::Group, "frame2", this};
    Control metod1b{Kind::Button, "metod1b", &frame2};
    Control autouse1b{Kind::CheckBox, "autouse1b", &frame2};
    Control metod2b{Kind::Button, "metod2b", &frame2};
    Control autouse2b{Kind::CheckBox, "autouse2b", &frame2};
    Control metod3b{Kind::Button, "metod3b", &frame2};
    Control autouse3b{Kind::CheckBox, "autouse3b", &frame2};
    Control sublabelb{Kind::Label, "sublabelb", &frame2};
    Control Edit2{Kind::Edit, "Edit2", &frame2};
    Control UpDownb{Kind::UpDown, "UpDownb", &frame2};
    Control unitlabelb{Kind::Label, "unitlabelb", &frame2};
    Control reclabelb{Kind::Label, "reclabelb", &frame2};
    Control framestitleb{Kind::Label, "framestitleb", &frame2};
    Control sectitleb{Kind::Label, "sectitleb", &frame2};
    Control framesblab{Kind::Label, "framesblab", &frame2};
    Control secblab{Kind::Label, "secblab", &frame2};
    Control okbbut{Kind::Button, "okbbut", &frame2};

    Control notelabel{Kind::Label, "notelabel", this};
    Control OKbut{Kind::Button, "OKbut", this};

    // Below each group: the quiet part of that end (a stretch quiet
    // relative to the recording's own levels), a fourth proposal with its
    // own accept.
    Control quiettitlea{Kind::Label, "quiettitlea", this};
    Control quietalab{Kind::Label, "quietalab", this};
    Control okqabut{Kind::Button, "okqabut", this};
    Control quiettitleb{Kind::Label, "quiettitleb", this};
    Control quietblab{Kind::Label, "quietblab", this};
    Control okqbbut{Kind::Button, "okqbbut", this};

    // To the right of the groups: the gains each side examines, start above end.
    GainStrip gainstripa{"gainstripa", this, 0};
    GainStrip gainstripb{"gainstripb", this, 1};

    // The controls of one side (index 0 start, 1 end), so that one routine
    // serves both groups. Method m is at index m - 1.
    struct Side {
        Control* group;
        std::array<Control*, 3> metod;
        std::array<Control*, 3> autouse;
        Control* edit;
        Control* updown;
        Control* frameslab;
        Control* seclab;
        Control* okbut;
        GainStrip* strip;
        Control* quietlab;  // the quiet part's frames and seconds
        Control* okquiet;   // "Accept quiet part"
    };
    std::array<Side, 2> sides{};

    // Keyboard order inside a side's group.
    std::vector<Control*> taborder(int side) const;
    // Keyboard order of the whole window: the start group, the end group,
    // "Accept BOTH", the two quiet parts' accept buttons, then the two gain
    // strips.
    std::vector<Control*> taborder();
};

// A click on an up-down control's arrow, as the user makes it.
void clickupdown(Control& updown, bool up);

}  // namespace ui
