// The platform as the program tests need it: scripted dialogs, a recording
// desktop, a fixed screen, and the support's message box, pump and measure.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/harness.h"
#include "ui/platform.h"

namespace shelltest {

class ScriptedDialogs : public ui::DialogRunner {
public:
    bool execute(ui::FileDialog& d) override
    {
        seen.push_back(d);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog " << d.title;
            return false;
        }
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        if (!a)
            return false;
        d.filename = *a;
        return true;
    }
    // a name to choose, or nullopt to cancel
    std::deque<std::optional<std::string>> answers;
    std::vector<ui::FileDialog> seen;
};

class RecordingShell : public ui::ShellOpen {
public:
    bool open(const std::string& path) override
    {
        opened.push_back(path);
        return works;
    }
    std::vector<std::string> opened;
    bool works = true;
};

class FixedScreen : public ui::Screen {
public:
    int width() override { return 1024; }
    int height() override { return 768; }
    std::int32_t buttonface() override { return 0xD4D0C8; }
};

struct FakePlatform {
    qctest::ScriptedBox box;
    qctest::CountingPump pump;
    qctest::FixedMeasure measure;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    FixedScreen screen;
    ui::Platform platform{box, pump, measure, dialogs, shell, screen};
};

}  // namespace shelltest
