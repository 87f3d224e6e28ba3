// The platform services besides the windows, on Qt: pending events, text
// widths, opening a file with its associated program, the screen; and the
// bundle of all of them that the program is given.
#pragma once

#include <QElapsedTimer>

#include "qt/file_dialogs.h"
#include "qt/message_box.h"
#include "ui/platform.h"

namespace qcqt {

class QtEventPump : public ui::EventPump {
public:
    explicit QtEventPump(int intervalms = 10) : intervalms_(intervalms) {}
    void processpending() override;
    void waitforevents() override;
    // at most every interval (10 ms): each round of events repaints what changed (the
    // progress bar above all), which every 256 frames would cost more than
    // the walk itself on a file in the page cache
    void keepresponsive() override;

private:
    int intervalms_;
    QElapsedTimer sincepump_;
};

class QtTextMeasure : public ui::TextMeasure {
public:
    int textwidth(const std::string& text, const ui::Font& font) override;
};

class QtShellOpen : public ui::ShellOpen {
public:
    bool open(const std::string& path) override;
};

class QtScreen : public ui::Screen {
public:
    int width() override;
    int height() override;
    std::int32_t buttonface() override;
};

struct QtPlatform {
    QtPlatform() = default;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    QtMessageBox box;
    QtEventPump pump;
    QtTextMeasure measure;
    QtDialogRunner dialogs;
    QtShellOpen shell;
    QtScreen screen;
    ui::Platform platform{box, pump, measure, dialogs, shell, screen};
};

}  // namespace qcqt
