// The whole load of arbitrary bytes through the real engine (scanner,
// trailing structures, summary, silence auto-use), with a message box that
// answers every question one way, and the properties every load must keep.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/preset_answers.h"
#include "shell/cut_positions.h"
#include "shell/load_command.h"
#include "memfile.h"
#include "stream/loaded_file.h"
#include "shell/tag_views.h"
#include "ui/main_form.h"

namespace qcfuzz {

// How the questions are answered: every question Yes (and OK) under the
// policy attempt; every question No (and Cancel) under the policy fail; or
// Cancel (No where there is no Cancel) at the first question under the
// policy prompt, Yes afterwards.
enum class Answers { Yes, No, CancelFirst };

// The preset answers, checking that nothing is asked after a cancelled
// question; the message box sees only the load's error.
class AnswerBox : public ui::MessageBox, public qc::PresetAnswers {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;
    qc::Answer ask(const qc::Question& question) override;
    void tell(const qc::Notice& notice) override;
    void use(Answers a);
    int questions = 0;
    bool cancelled = false;
};

// The tag views' boxes: the text, or the disk error.
class ViewBox : public ui::MessageBox {
public:
    int msgbox(const std::string&, int, const std::string&) override
    {
        ++shown;
        return ui::idok;
    }
    int shown = 0;
};

class NoPump : public ui::EventPump {
public:
    void processpending() override {}
};

// Every character 7 pixels wide, so that long names are shortened.
class FixedMeasure : public ui::TextMeasure {
public:
    int textwidth(const std::string& text, const ui::Font&) override
    {
        return 7 * static_cast<int>(text.size());
    }
};

class LoadRig {
public:
    explicit LoadRig(Answers answers);
    // Loads the bytes as Open does and checks every property of the result.
    void run(const std::uint8_t* data, std::size_t size);

private:
    void checkrecord() const;
    void checkcopyplans();
    void checksilence() const;
    void checkreload();
    void checkviews();

    MemFile input_;
    MemFile output_;
    qc::LoadedFile file_;  // the rig's own
    ui::MainForm form_;
    qc::CutPositions cuts_;
    AnswerBox box_;
    NoPump pump_;
    FixedMeasure measure_;
    qc::LoadCommand scanner_;
    ViewBox viewbox_;
    qc::TagViews views_;
};

}  // namespace qcfuzz
