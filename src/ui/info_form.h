// The Info window: the program's name, version and what it does. Created
// hidden at start-up after the main window, shown without being modal.
#pragma once

#include "ui/control.h"

namespace ui {

inline constexpr const char* programname = "Quillcut";

// The build's version, "major.minor.patch".
const char* programversion();

class InfoForm : public Form {
public:
    InfoForm();

    Control namelabel{Kind::Label, "namelabel", this};
    Control versionlabel{Kind::Label, "versionlabel", this};
    Control aboutlabel{Kind::Label, "aboutlabel", this};
    Control okbutton{Kind::Button, "okbutton", this};
};

}  // namespace ui
