// A message box for tests: records every box and answers from a queue. A box
// that arrives when the queue is empty fails the test (it was not expected),
// unless the test chose a default answer.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qctest {

struct Box {
    std::string text;
    int style;
    std::string caption;
    bool utf8 = false;  // shown by msgboxutf8: the text is UTF-8, not bytes
};

class ScriptedBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;
    int msgboxutf8(const std::string& text, int style, const std::string& caption) override;

    // Queues answers for the next boxes, in order.
    ScriptedBox& answer(int button);
    // Answer every unexpected box with this button instead of failing.
    void answerall(int button) { fallback_ = button; }
    bool drained() const { return answers_.empty(); }
    void clear() { shown.clear(); }

    std::vector<Box> shown;

private:
    std::deque<int> answers_;
    std::optional<int> fallback_;
};

// Every character is 7 pixels wide, whatever the font.
class FixedMeasure : public ui::TextMeasure {
public:
    int textwidth(const std::string& text, const ui::Font&) override
    {
        return 7 * static_cast<int>(text.size());
    }
};

class CountingPump : public ui::EventPump {
public:
    void processpending() override
    {
        ++count;
        if (hook)
            hook();
    }
    int count = 0;
    std::function<void()> hook;
};

}  // namespace qctest
