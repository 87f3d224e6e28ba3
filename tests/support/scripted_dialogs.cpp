#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace qctest {

bool ScriptedDialogs::execute(ui::FileDialog& d)
{
    shown.push_back(d);
    if (whileopen)
        whileopen(d);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected dialog \"" << d.title << "\"";
        return false;
    }
    std::optional<std::string> answer = answers_.front();
    answers_.pop_front();
    if (!answer)
        return false;
    d.filename = *answer;
    return true;
}

ScriptedDialogs& ScriptedDialogs::choose(const std::string& fullname)
{
    answers_.push_back(fullname);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancel()
{
    answers_.push_back(std::nullopt);
    return *this;
}

}  // namespace qctest
