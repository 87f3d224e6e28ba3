// The program as a whole: the program-wide state, every window model and
// every subsystem, wired together. The view (the Qt layer) renders the
// window models, implements the platform services and forwards user actions
// to the controls; main() runs the single-instance check before creating the
// Program.
#pragma once

#include <optional>
#include <string>

#include "shell/cut_positions.h"
#include "shell/writer.h"
#include "shell/load_command.h"
#include "shell/options.h"
#include "shell/settings.h"
#include "shell/toolbar.h"
#include "shell/silence_window.h"
#include "stream/loaded_file.h"
#include "stream/paths.h"
#include "shell/tag_views.h"
#include "shell/tracks_window.h"
#include "ui/auto_form.h"
#include "ui/info_form.h"
#include "ui/main_form.h"
#include "ui/platform.h"
#include "ui/tracks_form.h"

namespace qc {

class Program {
public:
    Program(ui::Platform& platform, std::string exepath);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates the main window (its start values, the settings and their use),
    // then the Info window, the silence detection window and the Tracks
    // window, all hidden.
    void start();
    // The main window closes: open files closed, settings written.
    void formclose();
    // The main window's paint event.
    void paint();

    ui::MainForm& mainform() { return form_; }
    ui::AutoForm& autoform() { return autoform_; }
    ui::InfoForm& infoform() { return infoform_; }
    ui::TracksForm& tracksform() { return tracksform_; }
    TracksWindow& tracks() { return tracks_; }
    Toolbar& toolbar() { return toolbar_; }
    Settings& settings() { return settings_; }
    LoadedFile& file() { return file_; }
    Writer& writer() { return writer_; }

    // The commands of the File and Options menus, the play commands and Info.
    void loadmenuClick();
    // Opens a file as Open does once its dialog has chosen it: the file
    // named on the command line, handed over by a second start, or dropped
    // on the window.
    void openfile(const std::string& chosen);
    void reloadbutClick();
    // No load or save runs and the silence detection window is closed: a
    // file may arrive from outside the open dialog (dropped, handed over).
    bool idle() const { return !file_.busy && !autoform_.visible(); }
    void setpolicy(int policy);  // failmenuClick 0, promptmenuClick 1, trymenuClick 2
    void aboutmenuClick();
    // Options > Exact output: toggles the writer's mode and keeps it in the options file.
    void exactmenuClick();
    const Options& options() const { return options_; }
    void playsrcmenuClick();
    void playmenuClick();

    // The open dialog keeps its state between uses, like the platform's.
    ui::FileDialog opendlg1;

private:
    void wire();
    void formcreate();
    void applypolicy();
    void createinfo();
    // Places the Tracks window where it was last closed, or beside the main window.
    void createtracks();
    // The Tracks window closed: its place is kept in the options file.
    void trackswindowclosed();
    // After each save: what it wrote on the file-name line, and after a save
    // onto the source the file loaded again.
    void aftersave();

    ui::Platform& platform_;
    std::string exepath_;
    LoadedFile file_;  // the loaded file, this program's own
    ui::MainForm form_;
    ui::AutoForm autoform_;
    ui::InfoForm infoform_;
    ui::TracksForm tracksform_;
    CutPositions cuts_;
    Writer writer_;
    Settings settings_;
    Options options_;
    // where the Tracks window was last closed, under this key of the options file
    static constexpr const char* trackswindowkey = "tracks_window";
    std::optional<WindowPlace> trackswindow_;
    LoadCommand scanner_;
    TagViews tags_;
    SilenceWindow silence_;
    TracksWindow tracks_;
    Toolbar toolbar_;
    bool reloadingsaved_ = false;
};

}  // namespace qc
