// What a benchmark needs of the platform: no one to answer boxes (they are
// printed and answered No), no events to process, no text to measure.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qcbench {

struct NoBox : ui::MessageBox {
    int msgbox(const std::string& text, int, const std::string&) override
    {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        return ui::idno;
    }
};
struct NoPump : ui::EventPump {
    void processpending() override {}
};
struct NoMeasure : ui::TextMeasure {
    int textwidth(const std::string&, const ui::Font&) override { return 0; }
};

inline double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace qcbench
