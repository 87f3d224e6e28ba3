// A file dialog for tests: records every dialog shown (with the state it
// was shown in) and answers from a queue of chosen names. A dialog that
// arrives when the queue is empty fails the test.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/platform.h"

namespace qctest {

class ScriptedDialogs : public ui::DialogRunner {
public:
    bool execute(ui::FileDialog& d) override;

    // The user picks this full name in the next dialog.
    ScriptedDialogs& choose(const std::string& fullname);
    // The user cancels the next dialog.
    ScriptedDialogs& cancel();
    bool drained() const { return answers_.empty(); }

    // Each dialog as it was on entry.
    std::vector<ui::FileDialog> shown;
    // Runs while a dialog is open, before it answers.
    std::function<void(const ui::FileDialog&)> whileopen;

private:
    std::deque<std::optional<std::string>> answers_;
};

}  // namespace qctest
