// The engine as the hostile-input tests drive it: a load answered one way
// throughout, the tag views, and the properties every load must keep,
// whatever the bytes.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "analysis/preset_answers.h"
#include "cutting/copy_plan.h"
#include "shell/load_command.h"
#include "support/harness.h"
#include "shell/tag_views.h"

namespace qctest {

// Yes (and OK) to everything under the policy attempt; No (and Cancel)
// under the policy fail; Cancel at the first question under the policy prompt.
enum class Answers { Yes, No, CancelFirst };

// The load's questions answered by the preset answers; every question,
// notice and box kept as the window would have shown it.
class AnsweringBox : public ui::MessageBox, public qc::PresetAnswers {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;
    qc::Answer ask(const qc::Question& question) override;
    void tell(const qc::Notice& notice) override;
    void reset() { shown.clear(); questions = 0; qc::PresetAnswers::reset(); }
    void use(Answers a);

    Answers answers = Answers::Yes;
    std::vector<Box> shown;
    int questions = 0;
};

struct HostileRig {
    explicit HostileRig(Answers a);

    // Loads the file as Open does; true when it loaded.
    bool load(const std::string& path);
    // The load's error text (after the prefix), or empty when none was shown.
    std::string loaderror() const;
    // Both tag views, as the buttons run them; the boxes they showed.
    std::vector<Box> viewtags();

    qc::LoadedFile file;  // each rig's own
    ui::MainForm form;
    qc::CutPositions cuts;
    AnsweringBox box;
    CountingPump pump;
    FixedMeasure measure;
    qc::LoadCommand scanner;
    AnsweringBox viewbox;
    qc::TagViews views;
};

// The record after a successful load describes the file consistently, and
// every copy plan the writer could build takes source bytes once, in order,
// within the file. Reports failures with the name given.
void expectconsistentload(const qc::LoadedFile& f, std::int64_t filesize, const std::string& name);

// Runs fn and returns how long it took.
template <class Fn>
std::chrono::duration<double> timed(Fn&& fn)
{
    auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::steady_clock::now() - start;
}

}  // namespace qctest
