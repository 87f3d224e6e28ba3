// What quillcut-cli keeps of a run with nobody to answer: the load's
// questions are answered by the command line's choices (preset answers),
// and what the window would have shown is kept for the report.
#pragma once

#include <string>
#include <vector>

#include "analysis/preset_answers.h"
#include "ui/msgbox.h"

namespace qccli {

// The boxes of a save through the window program's writer: its error, and
// any other message.
class CliBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;

    void reset();

    // The load's questions: continue at damage and truncate a damaged tail
    // under --policy attempt; include unknown data with --include-unknown;
    // never display data, nobody would read it.
    qc::PresetAnswers answers;

    std::vector<std::string> warnings;  // warning boxes, as shown
    std::string error;                  // text after the load error prefix, or a save error
    std::vector<std::string> messages;  // every other box (information, save messages)
};

// "\r\n" as a plain newline, for printing.
std::string plainlines(const std::string& text);

}  // namespace qccli
