// The small services the program asks of the platform beside its windows.
// The Qt layer implements them; tests use scripted stand-ins.
#pragma once

#include <string>

#include "ui/control.h"
#include "ui/msgbox.h"

namespace ui {

// Lets the windowing system process pending events (repaint, clicks).
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processpending() = 0;
    // Processes events, sleeping until at least one arrives: for loops that
    // only wait for the user, so that waiting costs no processor time.
    virtual void waitforevents() { processpending(); }
    // Called again and again during long work (a load pumps every 256
    // frames): processes events often enough for the window to stay
    // responsive, which may be less often than it is called.
    virtual void keepresponsive() { processpending(); }
};

// Width in pixels of a text in a font, as the label would draw it.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int textwidth(const std::string& text, const Font& font) = 0;
};

// A standard open or save dialog. The model keeps what the dialog keeps
// between uses: the chosen file name in particular.
struct FileDialog {
    std::string title;
    std::string filter;      // "Description|pattern|Description|pattern"
    std::string initialdir;
    std::string filename;    // proposed on entry, the full chosen name on return
    bool saving = false;
    bool folder = false;     // a folder is chosen, not a file (filename returns it)
    bool overwriteprompt = false;
    bool hidereadonly = true;
    bool pathmustexist = true;
    bool resizable = true;
};

class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog; true when the user chose a name (then in d.filename).
    virtual bool execute(FileDialog& d) = 0;
};

// Opens a file with the program the desktop associates with its type,
// without waiting for it; false when that could not be started.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual bool open(const std::string& path) = 0;
};

// The screen the windows live on, and the system colour of button faces.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int width() = 0;
    virtual int height() = 0;
    virtual std::int32_t buttonface() = 0;  // 0xRRGGBB
};

// Everything the program needs of the platform besides rendering its windows.
struct Platform {
    MessageBox& box;
    EventPump& pump;
    TextMeasure& measure;
    DialogRunner& dialogs;
    ShellOpen& shell;
    Screen& screen;
};

}  // namespace ui
