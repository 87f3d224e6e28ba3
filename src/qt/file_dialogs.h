// The standard open and save dialogs, as Qt's file dialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "ui/platform.h"

namespace qcqt {

// "Mp3 files|*.mp3|All files|*.*" becomes "Mp3 files (*.mp3);;All files (*)":
// description and pattern pairs, ";" between patterns of one pair, "*.*"
// meaning every file.
QString qtfilter(const std::string& filter);

// The desktop's own open and save dialogs (the platform's native dialog or
// the desktop portal, where Qt has one), Qt's dialog elsewhere; modal over
// the main window.
class QtDialogRunner : public ui::DialogRunner {
public:
    bool execute(ui::FileDialog& d) override;
    void setowner(QWidget* owner) { owner_ = owner; }

private:
    QPointer<QWidget> owner_;
};

}  // namespace qcqt
