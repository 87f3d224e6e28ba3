#include "support/scripted_box.h"

#include <gtest/gtest.h>

namespace qctest {

int ScriptedBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    shown.push_back({text, style, caption});
    if (!answers_.empty()) {
        int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (fallback_)
        return *fallback_;
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
    return ui::idcancel;
}

int ScriptedBox::msgboxutf8(const std::string& text, int style, const std::string& caption)
{
    const int a = msgbox(text, style, caption);
    shown.back().utf8 = true;
    return a;
}

ScriptedBox& ScriptedBox::answer(int button)
{
    answers_.push_back(button);
    return *this;
}

}  // namespace qctest
