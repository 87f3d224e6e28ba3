// Answers to a load's questions fixed in advance, for whoever runs a load
// with nobody to ask: quillcut-cli, the test rigs and the fuzz targets. It
// also keeps what was asked and told, in order.
#pragma once

#include <vector>

#include "analysis/load_options.h"

namespace qc {

class PresetAnswers : public LoadQuestions {
public:
    // Yes to every question (Ok to Truncate): continue, display, include.
    static PresetAnswers yes();
    // No to every question (Cancel to Truncate).
    static PresetAnswers no();

    Answer proceed = Answer::Yes;   // ImproperHeader, ImproperFrameSize
    Answer display = Answer::No;    // the questions that offer to display data
    Answer include = Answer::No;    // Include
    Answer truncate = Answer::Ok;   // Truncate
    // Answers the first question of a load Cancel (No where it has no
    // Cancel), the later ones as above.
    bool cancelfirst = false;

    Answer ask(const Question& question) override;
    void tell(const Notice& notice) override;
    // Forgets what was asked and told, for the next load.
    void reset();

    std::vector<Question> asked;
    std::vector<Notice> told;
};

// The buttons a question offers include Cancel.
bool cancellable(Question::Kind kind);

}  // namespace qc
