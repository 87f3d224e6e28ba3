// The Tracks window's definition: the overview strip of the whole
// recording, the detail strip around the selected point, the buttons that
// set the points, the list of tracks, and the row that writes them. The
// logic lives in shell/tracks_window.
#pragma once

#include <vector>

#include "ui/control.h"
#include "ui/split_strip.h"
#include "ui/track_list.h"

namespace ui {

class TracksForm : public Form {
public:
    TracksForm();

    SplitStrip overview{"overview", this};
    SplitStrip detail{"detail", this};

    Control findbut{Kind::Button, "findbut", this};
    Control mingaplabel{Kind::Label, "mingaplabel", this};
    Control mingapedit{Kind::Edit, "mingapedit", this};
    Control mingapunit{Kind::Label, "mingapunit", this};
    Control addbut{Kind::Button, "addbut", this};
    Control removebut{Kind::Button, "removebut", this};
    Control importbut{Kind::Button, "importbut", this};
    Control exportbut{Kind::Button, "exportbut", this};

    TrackList list{"list", this};

    Control statuslabel{Kind::Label, "statuslabel", this};
    Control pbar{Kind::ProgressBar, "pbar", this};
    Control cancelbut{Kind::Button, "cancelbut", this};
    Control writebut{Kind::Button, "writebut", this};

    // The buttons and boxes that change the points or write: disabled while
    // the tracks are written and while no file is loaded.
    std::vector<Control*> editing();
    // Keyboard order: the strips, the row of buttons, the list, Write tracks.
    std::vector<Control*> taborder();
};

}  // namespace ui
