// What the save benchmarks share: a big file made from the frames of a
// short encoder file, the window's load and save commands on it with one
// frame cut at each end, and cp of the same file to set beside the save.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "quiet_platform.h"
#include "shell/cut_positions.h"
#include "shell/load_command.h"
#include "shell/writer.h"
#include "ui/main_form.h"

namespace qcbench {

inline std::vector<unsigned char> readfile(const std::string& path)
{
    std::vector<unsigned char> all;
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return all;
    int c;
    while ((c = std::fgetc(in)) != EOF)
        all.push_back(static_cast<unsigned char>(c));
    std::fclose(in);
    return all;
}

// The bytes of the sample from its first frame to its ID3v1 tag (or end).
struct SampleFrames {
    std::vector<unsigned char> all;
    std::size_t first = 0, end = 0;
    explicit SampleFrames(const std::string& sample) : all(readfile(sample))
    {
        while (first + 1 < all.size() && !(all[first] == 0xFF && (all[first + 1] & 0xFE) == 0xFA))
            ++first;
        end = all.size() >= 128 && all[all.size() - 128] == 'T' ? all.size() - 128 : all.size();
    }
    bool empty() const { return first >= end; }
};

// The saved file goes where the save dialog is told.
struct NamedTarget : ui::DialogRunner {
    std::string name;
    bool execute(ui::FileDialog& d) override
    {
        d.filename = name;
        return true;
    }
};

// The load of big, with one frame cut at each end, ready to save to target.
class SaveRig {
public:
    SaveRig(qc::LoadedFile& file, const std::string& target)
        : file_(file), cuts_(file, form_), scanner_(file, form_, cuts_, box_, pump_, measure_),
          writer(file, form_, cuts_, box_, dialogs_)
    {
        cuts_.wire();
        dialogs_.name = target;
        form_.trymenu.setchecked(true);
    }
    bool load(const std::string& big)
    {
        file_.sourcename = big;
        scanner_.scanfile(true);
        if (!file_.loadok)
            return false;
        cuts_.applycut(0, 1);
        cuts_.applycut(1, 1);
        return true;
    }

private:
    qc::LoadedFile& file_;
    ui::MainForm form_;
    qc::CutPositions cuts_;
    NoBox box_;
    NoPump pump_;
    NoMeasure measure_;
    NamedTarget dialogs_;
    qc::LoadCommand scanner_;

public:
    qc::Writer writer;
};

// Seconds a cp of from to to takes; negative when cp fails.
inline double timecp(const std::string& from, const std::string& to)
{
    const std::string cp = "cp '" + from + "' '" + to + "'";
    auto t0 = std::chrono::steady_clock::now();
    if (std::system(cp.c_str()) != 0)
        return -1;
    return seconds(t0);
}

}  // namespace qcbench
