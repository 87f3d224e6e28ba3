// Save as: the command that decides whether there is anything to save, and
// the save itself: the target dialog, the copy of the kept stretches of the
// source, the replacement of the source when it is the target, and the
// main window's states meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cutting/copy_plan.h"
#include "cutting/exact_plan.h"
#include "cutting/exact_write.h"
#include "cutting/mapped_copy.h"
#include "cutting/save_report.h"
#include "texts/save_texts.h"
#include "shell/cut_positions.h"
#include "stream/binary_file.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qc {

class Writer {
public:
    Writer(LoadedFile& file, ui::MainForm& form, CutPositions& cuts, ui::MessageBox& box,
           ui::DialogRunner& dialogs);

    // form.savebut.onclick and form.savemenu.onclick -> savebutClick
    void wire();
    // Save as: runs the save when something would change, says so otherwise.
    void savebutClick();
    // One complete save, from the dialog to the window's state afterwards.
    void writeoutput();

    std::string savedir;     // directory of the last target, with its trailing "/"
    // savedir was chosen by a save (now or in an earlier run); until then
    // the dialog opens in the source's folder
    bool savedirchosen = true;
    std::string targetname;  // the file most recently written (Play target plays it)
    bool saveok = false, replacesource = false;
    ui::FileDialog savedlg1;
    // Called once per save after savedir is set, before the output is created.
    std::function<void()> writesettings;
    // Called at the end of every save that was tried, the window's state settled.
    std::function<void()> aftersave;

    // Exact output (a new tag frame, the reservoir frames the first kept
    // frame needs) or the byte-for-byte copy of the kept stretches.
    bool exact = true;
    // Sample trims that replace a side's frame cut in exact output.
    SampleCuts samplecuts;

    // Bytes written by the last successful save.
    std::int64_t byteswritten = 0;
    // What the last save did; kind None and not ok when nothing was tried
    // (the dialog was cancelled).
    SaveReport report;
    // What the last successful save wrote; in byte-for-byte saves only the
    // frame count is known.
    ExactSummary written;
    // The file system's rename, used to move a finished output into place.
    // Tests put a failing one here.
    std::function<bool(const std::string& from, const std::string& to)> renamer = renamefile;
    // The in-kernel copy of the run of frames. Tests put one here that
    // refuses or fails as a file system would.
    BinaryFile::RangeCopier rangecopier = mappedcopyrange;
    // Where the exact output's music CRC is computed: beside the copy on a
    // second thread, or in a pass before it (see cutting/exact_write.h).
    CrcPass crcpass = CrcPass::Chosen;

private:
    struct Job;

    bool somethingtosave() const;
    KeptStructures keptstructures() const;

    void beginsave();
    // The steps from the frame check to the output in place.
    SaveReport runsave(Job& job);
    bool choosetarget();
    void taketarget(Job& job);
    void showprogress(bool on);
    void failure(const SaveReport& report);
    void finishsave(Job& job);
    void completereplacement();

    LoadedFile& f_;
    ui::MainForm& w_;
    CutPositions& cuts_;
    ui::MessageBox& box_;
    ui::DialogRunner& dialogs_;
};

}  // namespace qc
