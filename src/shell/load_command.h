// Open and Reload as the main window runs them: the window's state while
// the load runs, its questions as message boxes, and the load report
// applied to the window afterwards (captions, counts, removal boxes).
#pragma once

#include <functional>
#include <string>

#include "analysis/load_options.h"
#include "analysis/load_report.h"
#include "analysis/scanner.h"
#include "shell/cut_positions.h"
#include "shell/file_line.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qc {

class LoadCommand : private LoadQuestions, private LoadProgress {
public:
    LoadCommand(LoadedFile& file, ui::MainForm& form, CutPositions& cuts, ui::MessageBox& box,
                ui::EventPump& pump, ui::TextMeasure& measure);

    // Runs the whole load of file.sourcename; its outcome is file.loadok,
    // the report and the state of the main window. freshload (Open) resets
    // the cuts and the removal boxes first; Reload keeps them.
    void scanfile(bool freshload);

    // Runs at the end of every successful load (the silence auto-use).
    std::function<void()> afterload;

    // The policy the Options menu's check marks choose.
    ErrorPolicy policy() const;

    // When set, the load's questions and notices go here instead of the
    // message box (quillcut-cli and the test rigs answer them this way).
    LoadQuestions* answers = nullptr;

    // How the walk reads the source (see LoadOptions); tests and fuzzers
    // take the other ways to check that they end a load alike.
    bool streaks = true;
    bool map = true;

    const LoadReport& report() const { return report_; }
    // The information line of the loaded file, its duration as the cut
    // positions' mode counts it; again when the mode changes.
    void showinfo();
    // The file-name line.
    FileLine& fileline() { return fileline_; }
    // The last load's error text as the window shows it after the prefix;
    // empty when it loaded or was cancelled.
    std::string errortext() const;

private:
    Answer ask(const Question& question) override;
    void tell(const Notice& notice) override;
    void position(int percent) override;
    void walkdone() override;

    void beginload(bool freshload);
    void showsummary(bool freshload);
    void showstructures(bool freshload);
    void cancelexit();
    void commonexit();

    LoadedFile& f_;
    ui::MainForm& w_;
    CutPositions& cuts_;
    ui::MessageBox& box_;
    ui::EventPump& pump_;
    FileLine fileline_;
    Scanner scanner_;
    LoadReport report_;
};

}  // namespace qc
