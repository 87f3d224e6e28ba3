// The main window's file-name line: the loaded file's name, shortened from
// the left to fit, with the full path as its tooltip and, under the path,
// what the last save of that file wrote. After a save onto the source the
// line says that the window holds the file as the save left it.
#pragma once

#include <string>

#include "ui/main_form.h"
#include "ui/platform.h"

namespace qc {

// After a save onto the source has been loaded again.
inline constexpr const char* reloadedaftersave = " (saved, loaded again)";

class FileLine {
public:
    FileLine(ui::MainForm& form, ui::TextMeasure& measure);

    // A load of path succeeded. Another file (fresh) forgets what was
    // written; a Reload keeps it, for the file is the same.
    void loaded(const std::string& path, bool fresh);
    // A failed load: no file, no line.
    void cleared();
    // What the last save of the loaded file wrote (one line).
    void saved(const std::string& written);
    // The save replaced the loaded file, which was then loaded again.
    void reloadedafterreplace();

    const std::string& written() const { return written_; }

private:
    void show();
    std::string shortened(const std::string& text) const;

    ui::MainForm& w_;
    ui::TextMeasure& measure_;
    std::string path_, written_, note_;
};

}  // namespace qc
