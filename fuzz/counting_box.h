// A message box for the tag view targets: counts the boxes and keeps the
// last one, answering OK.
#pragma once

#include <string>

#include "stream/loaded_file.h"
#include "ui/msgbox.h"

namespace qcfuzz {

class CountingBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override
    {
        ++shown;
        lasttext = text;
        laststyle = style;
        lastcaption = caption;
        return ui::idok;
    }
    int shown = 0;
    std::string lasttext, lastcaption;
    int laststyle = 0;
};

// The engine's one record, as in the program.

}  // namespace qcfuzz
