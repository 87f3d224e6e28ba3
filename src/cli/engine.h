// The engine as quillcut-cli drives it: the same record, window model, cut
// positions and scanner as the window program, without a display.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_box.h"
#include "cli/failure.h"
#include "shell/cut_positions.h"
#include "shell/load_command.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"

namespace qccli {

// No events to pump; the load's progress steps go to walkstep, where set.
class NoPump : public ui::EventPump {
public:
    void processpending() override {}
    void keepresponsive() override
    {
        if (walkstep)
            walkstep();
    }
    std::function<void()> walkstep;
};

// Names are printed as given, so nothing is ever too wide.
class NoMeasure : public ui::TextMeasure {
public:
    int textwidth(const std::string&, const ui::Font&) override { return 0; }
};

struct LoadOptions {
    bool attempt = true;
    bool includeunknown = false;
};

class Engine {
public:
    Engine();

    // Loads the file as Open does; true when it loaded. A file that cannot
    // be opened is not given to the scanner: the failure names the cause.
    bool load(const std::string& path, const LoadOptions& options);

    // After load: why it failed, and the warnings (the window's warning
    // boxes, then what the command line adds).
    std::optional<Failure> failure;
    std::vector<std::string> warnings;
    bool truncated = false;  // a damaged tail was cut off

    qc::LoadedFile file;  // the loaded file, this engine's own
    ui::MainForm form;
    qc::CutPositions cuts;
    CliBox box;
    NoPump pump;
    NoMeasure measure;
    qc::LoadCommand scanner;

    const qc::LoadReport& report() const { return scanner.report(); }
};

}  // namespace qccli
