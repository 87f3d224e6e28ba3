// The standard open and save dialogs, as Qt's file dialog.
#pragma once

#include <QString>
#include <string>

#include "ui/platform.h"

namespace qcqt {

// "Mp3 files|*.mp3|All files|*.*" becomes "Mp3 files (*.mp3);;All files (*)":
// description and pattern pairs, ";" between patterns of one pair, "*.*"
// meaning every file.
QString qtfilter(const std::string& filter);

class QtDialogRunner : public ui::DialogRunner {
public:
    bool execute(ui::FileDialog& d) override;
};

}  // namespace qcqt
