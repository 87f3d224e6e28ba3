// The message box of quillcut-cli: nobody is there to answer, so each
// question is answered by the command line's choices, and what would have
// been shown is kept for the report.
#pragma once

#include <string>
#include <vector>

#include "ui/msgbox.h"

namespace qccli {

class CliBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;

    void reset();

    bool attempt = true;          // continue at damage; truncate a damaged tail
    bool includeunknown = false;  // answer Yes to "Include this data to output file?"

    std::vector<std::string> warnings;  // warning boxes, as shown
    std::string error;                  // text after the load error prefix, or a save error
    bool refusedtruncation = false;
    bool truncated = false;             // a damaged tail was cut off
    std::vector<std::string> messages;  // every other box (information, save messages)
};

}  // namespace qccli
