// The program behind the real Qt pump, measure and screen, with scripted
// boxes and file dialogs and its executable in an empty directory (no
// settings file): what the offscreen tests that drive it through its real
// views stand on.
#pragma once

#include <string>
#include <vector>

#include "qt/platform_services.h"
#include "shell/program.h"
#include "support/harness.h"

namespace qttest {

// Keeps every file dialog's title; answers with answer, or cancels while it
// is empty.
class ScriptedDialogs : public ui::DialogRunner {
public:
    bool execute(ui::FileDialog& d) override
    {
        titles.push_back(d.title);
        if (answer.empty())
            return false;
        d.filename = answer;
        return true;
    }
    std::string answer;
    std::vector<std::string> titles;
};

class NoShell : public ui::ShellOpen {
public:
    bool open(const std::string&) override { return false; }
};

struct ProgramRig {
    // startanswer: what the boxes of the start-up are answered
    explicit ProgramRig(int startanswer)
        : platform{box, pump, measure, dialogs, shell, screen},
          program(platform, dir.path("quillcut")),
          started((box.answerall(startanswer), program.start(), true))
    {
    }

    qctest::TempDir dir;
    qctest::ScriptedBox box;
    qcqt::QtEventPump pump;
    qcqt::QtTextMeasure measure;
    ScriptedDialogs dialogs;
    NoShell shell;
    qcqt::QtScreen screen;
    ui::Platform platform;
    qc::Program program;
    bool started;
};

}  // namespace qttest
