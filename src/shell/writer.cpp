#include "shell/writer.h"

#include "cutting/fixed.h"
#include "cutting/replacement.h"
#include "cutting/save.h"
#include "stream/paths.h"

namespace qc {

namespace {

const char* const errorcaption = "Error";

bool kept(const ui::Control& box)
{
    return box.visible() && !box.checked();
}

// The writer's own sample cuts (the command line's) where given, else the
// cut positions' audio time where the window holds its cuts so.
SampleCuts mergedcuts(const SampleCuts& own, const SampleCuts& positions)
{
    return {own.start ? own.start : positions.start, own.end ? own.end : positions.end};
}

}  // namespace

struct Writer::Job {
    std::string chosen;          // the name picked in the dialog
    std::string previoustarget;  // targetname before this save
};

Writer::Writer(LoadedFile& file, ui::MainForm& form, CutPositions& cuts, ui::MessageBox& box,
               ui::DialogRunner& dialogs)
    : f_(file), w_(form), cuts_(cuts), box_(box), dialogs_(dialogs)
{
    savedlg1.title = " - choose target file - ";
    savedlg1.filter = "Mp3 files|*.mp3|all files|*.*";
    savedlg1.saving = true;
    savedlg1.overwriteprompt = true;
    savedlg1.hidereadonly = true;
    savedlg1.pathmustexist = true;
    savedlg1.resizable = true;
}

void Writer::wire()
{
    w_.savebut.onclick = [this] { savebutClick(); };
    w_.savemenu.onclick = [this] { savebutClick(); };
}

// After a save onto the source the record describes content that is gone:
// nothing may be built from it until the file is loaded again.
void Writer::savebutClick()
{
    if (f_.busy || !f_.loadok || cuts_.stale())
        return;
    if (somethingtosave())
        writeoutput();
    else
        box_.msgbox(nochanges, 0, nochangescaption);
}

bool Writer::somethingtosave() const
{
    const SampleCuts c = mergedcuts(samplecuts, cuts_.samplecuts());
    return changesanything(f_, recordchoices(f_, keptstructures(), false),
                           exact && (c.start.value_or(0) > 0 || c.end.value_or(0) > 0));
}

KeptStructures Writer::keptstructures() const
{
    return {kept(w_.headtagcheck), kept(w_.riffcheck), kept(w_.Foottagcheck)};
}

void Writer::writeoutput()
{
    if (f_.busy || !f_.loadok || cuts_.stale())
        return;
    Job job;
    job.previoustarget = targetname;
    beginsave();
    report = runsave(job);
    if (report.error.failed())
        failure(report);
    finishsave(job);
    if (aftersave)
        aftersave();
}

void Writer::beginsave()
{
    saveok = false;
    replacesource = false;
    f_.busy = true;
    w_.filemenu.setenabled(false);
    w_.optmenu.setenabled(false);
}

SaveReport Writer::runsave(Job& job)
{
    if (f_.cutframes[0] + f_.cutframes[1] >= f_.framecount)
        return savefailure(Cause::NothingKept);
    // audio time that leaves no sample is refused as early
    const SampleCuts c = mergedcuts(samplecuts, cuts_.samplecuts());
    if (exact && cuts_.timeline() && c.start.value_or(0) + c.end.value_or(0) >= cuts_.timeline()->samples)
        return savefailure(Cause::NothingKept);
    // The record's positions hold only for the file as it was loaded.
    if (!sourceunchanged(f_))
        return savefailure(Cause::SourceChanged, Blame::Source, 0, f_.sourcename, Step::Read);
    if (!choosetarget())
        return {};
    job.chosen = savedlg1.filename;
    // A longer name cannot be held; cutting it would write somewhere else.
    if (job.chosen.size() > maxtargetname)
        return savefailure(Cause::NameTooLong, Blame::Target, 0, job.chosen, Step::Create);
    taketarget(job);
    showprogress(true);
    w_.setcursor(ui::Cursor::Hourglass);
    if (writesettings)
        writesettings();
    // what killed runs left in the folder goes first
    removestaletemporaries(directoryof(replacesource ? replacedfile(job.chosen) : job.chosen));
    SaveRequest request;
    request.choices = recordchoices(f_, keptstructures(), false);
    request.exact = exact;
    request.samples = mergedcuts(samplecuts, cuts_.samplecuts());
    request.target = job.chosen;
    // a replacement's new content is under a temporary name of its own
    // until it takes the source's place
    auto staged = [this](const std::string& name) {
        if (replacesource && !name.empty())
            targetname = name;
    };
    SaveReport r = qc::save(f_, request, {rangecopier, renamer, crcpass, staged});
    if (!r.ok)
        return r;
    written = r.exact ? *r.exact : ExactSummary{};
    if (!r.exact)
        written.frames = r.frames;
    showprogress(false);
    byteswritten = r.bytes;
    // Play target for a replacement waits until the source holds the new content.
    if (!replacesource) {
        w_.playmenu.setenabled(true);
        w_.playbut.setenabled(true);
    }
    saveok = true;
    return r;
}

bool Writer::choosetarget()
{
    savedlg1.initialdir = savedirchosen ? savedir : directorywithslash(f_.sourcename);
    if (f_.proposename) {
        f_.proposename = false;
        savedlg1.filename = filenameof(f_.sourcename);
    }
    return dialogs_.execute(savedlg1);
}

void Writer::taketarget(Job& job)
{
    targetname = job.chosen;
    if (samefile(job.chosen, f_.sourcename)) {
        replacesource = true;
        w_.playsrcmenu.setenabled(false);
        w_.playsrcbut.setenabled(false);
    }
    std::string dir = directorywithslash(job.chosen);
    if (!dir.empty() && dir.size() <= maxtargetname) {
        savedir = dir;
        savedirchosen = true;
    }
}

void Writer::showprogress(bool on)
{
    w_.filenamelabel.setvisible(!on);
    w_.pbar.setvisible(on);
}

void Writer::failure(const SaveReport& r)
{
    showprogress(false);
    std::string text = savefailuretext(r.error);
    if (std::string cause = savecause(r.error); !cause.empty())
        text += "\r\n" + cause;
    box_.msgbox(text, 48, errorcaption);
    saveok = false;
}

void Writer::finishsave(Job& job)
{
    if (replacesource) {
        if (saveok)
            completereplacement();
        else
            targetname = job.previoustarget;
    }
    w_.setcursor(ui::Cursor::Normal);
    f_.busy = false;
    w_.filemenu.setenabled(true);
    w_.optmenu.setenabled(true);
}

// The source holds the new content: the record describes what is gone.
void Writer::completereplacement()
{
    targetname = f_.sourcename;
    w_.playmenu.setenabled(true);
    w_.playbut.setenabled(true);
    cuts_.setstale(true);
    w_.savebut.setenabled(false);
    w_.savemenu.setenabled(false);
    cuts_.resetcuts();
}

}  // namespace qc
