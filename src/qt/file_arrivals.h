// Files that reach the running window from outside its open dialog: one
// local file dropped on the main window, or a file handed over by a later
// start of the program (quillcut FILE while a copy runs). Each is opened as
// Open opens the file its dialog chose, its questions asked in this window.
//
// Only an idle window takes a file: no load or save running, no message box
// or dialog open, the silence detection window closed. A drop at another
// moment is refused (the drag shows that it cannot land). A hand-over at
// another moment waits and is opened as soon as the window is idle again;
// a later hand-over replaces one still waiting. Neither ever starts a load
// inside another.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>

class QMimeData;
class QSocketNotifier;

namespace qc {
class Program;
class HandOverListener;
}  // namespace qc

namespace qcqt {

class FormView;

class FileArrivals : public QObject {
public:
    FileArrivals(qc::Program& program, FormView& mainview);

    // Takes hand-overs from later starts while the listener lives.
    void listen(qc::HandOverListener& listener);
    // A hand-over arrived: raise the window, and open the file ("" only raises).
    void handedover(const std::string& file);
    // The window could take a file now.
    bool canopen() const;
    // The file a drag carries when it carries exactly one local file; else empty.
    static QString droppedfile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void trypending();
    void raise();

    qc::Program& program_;
    FormView& view_;
    std::optional<std::string> pending_;
    QTimer retry_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qcqt
