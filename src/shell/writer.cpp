#include "shell/writer.h"

#include "cutting/early_copy.h"
#include "cutting/fixed.h"
#include "cutting/replacement.h"
#include "stream/mapped_file.h"
#include "stream/paths.h"

namespace qc {

namespace {

constexpr std::size_t maxname = 255;
const char* const errorcaption = "Error";

bool chosen(const ui::Control& box)
{
    return box.visible() && box.checked();
}

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

void closequietly(BinaryFile& file)
{
    if (file.isopen())
        file.close();
    file.ioresult();
}

}  // namespace

std::string writtentext(const ExactSummary& w)
{
    std::string text = "Written: " + fixed(w.seconds(), 3) + " s (" + std::to_string(w.samples) + " samples), " +
                       std::to_string(w.frames) + " frames";
    if (w.reservoirframes > 0)
        text += ", " + std::to_string(w.reservoirframes) + " reservoir frame" + (w.reservoirframes == 1 ? "" : "s");
    if (w.carrier)
        text += ", a carrier frame";
    return text;
}

std::string savecause(const SaveReport& r)
{
    switch (r.failure) {
    case SaveFailure::None:
    case SaveFailure::NothingKept:
        return {};
    case SaveFailure::SourceChanged:
        return "It changed on disk after it was loaded: reload it.";
    case SaveFailure::NameTooLong:
        return "The target's name is longer than 255 characters.";
    case SaveFailure::Disk:
        break;
    }
    const char* what = r.blame == SaveReport::Source ? "The source: " : "The target: ";
    if (r.errnum != 0)
        return what + errnotext(r.errnum);
    if (r.blame == SaveReport::Source)
        return "The source ends before its frames do: it changed on disk after it was loaded; reload it.";
    return "The target could not be written.";
}

std::string copiedtext(std::int32_t frames, std::int64_t bytes)
{
    return "Written byte for byte: " + std::to_string(frames) + " frames, " + std::to_string(bytes) + " bytes";
}

struct Writer::Job {
    std::string chosen;          // the name picked in the dialog
    std::string replaced;        // the file a replacing save puts its content into
    std::string previoustarget;  // targetname before this save
};

Writer::Writer(LoadedFile& file, ui::MainForm& form, CutPositions& cuts, ui::MessageBox& box,
               ui::DialogRunner& dialogs)
    : f_(file), w_(form), cuts_(cuts), box_(box), dialogs_(dialogs), copybuffer_(copybuffersize)
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
    if (f_.cutframes[0] != 0 || f_.cutframes[1] != 0)
        return true;
    const SampleCuts c = mergedcuts(samplecuts, cuts_.samplecuts());
    if (exact && (c.start.value_or(0) > 0 || c.end.value_or(0) > 0))
        return true;
    if (chosen(w_.riffcheck) || chosen(w_.headtagcheck))
        return true;
    // only asked with a file loaded, whose footer box the load has set
    if (chosen(w_.Foottagcheck))
        return true;
    return cuts_.leftout();
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
    // The load's map of the source served the copy; a replaced source is
    // gone from its directory, and the map would hold its disk space.
    MappedFile::forgetkept();
    if (report.kind != ErrorKind::None)
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
    if (std::int64_t{f_.cutframes[0]} + f_.cutframes[1] >= f_.framecount)
        return savefailure(SaveFailure::NothingKept);
    // audio time that leaves no sample is refused as early
    const SampleCuts c = mergedcuts(samplecuts, cuts_.samplecuts());
    if (exact && cuts_.timeline() && c.start.value_or(0) + c.end.value_or(0) >= cuts_.timeline()->samples)
        return savefailure(SaveFailure::NothingKept);
    // The record's positions hold only for the file as it was loaded.
    if (!sourceunchanged(f_))
        return savefailure(SaveFailure::SourceChanged, SaveReport::Source);
    if (!choosetarget())
        return {};
    job.chosen = savedlg1.filename;
    // A longer name cannot be held; cutting it would write somewhere else.
    if (job.chosen.size() > maxname)
        return savefailure(SaveFailure::NameTooLong, SaveReport::Target);
    taketarget(job);
    showprogress(true);
    w_.setcursor(ui::Cursor::Hourglass);
    if (writesettings)
        writesettings();
    // The overwrite was confirmed in the dialog. Removing the name first
    // also keeps a link under it from being written through. A replacing
    // save removes only what lies under the temporary name. The early
    // copy's file is this program's own, made for this save.
    if (!earlyoutput())
        deletefile(targetname);
    return copyout();
}

bool Writer::earlyoutput() const
{
    return early != nullptr && early->writes(targetname);
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
        job.replaced = replacedfile(f_.sourcename);
        targetname = temporaryname(job.replaced);
        w_.playsrcmenu.setenabled(false);
        w_.playsrcbut.setenabled(false);
    }
    std::string dir = directorywithslash(job.chosen);
    if (!dir.empty() && dir.size() <= maxname) {
        savedir = dir;
        savedirchosen = true;
    }
}

void Writer::showprogress(bool on)
{
    w_.filenamelabel.setvisible(!on);
    w_.pbar.setvisible(on);
}

SaveReport Writer::copyout()
{
    // A replacement is flushed to the disk before it takes the source's name.
    SaveReport r = exact ? exactcopy()
                         : qc::copyout(f_, recordchoices(f_, keptstructures(), replacesource),
                                       targetname, outputfile, copybuffer_, rangecopier,
                                       earlyoutput() ? early : nullptr);
    if (r.failure == SaveFailure::NothingKept) {
        closequietly(f_.sourcefile);
        closequietly(outputfile);
        deletefile(targetname);
        return r;
    }
    if (!r.ok)
        return r;
    if (!exact) {
        written = {};
        written.frames = r.frames;
    }
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

namespace {

class FileBytes : public SourceBytes {
public:
    explicit FileBytes(BinaryFile& file) : file_(file) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        file_.seek(offset);
        return file_.read(buf, n) == n && !file_.failed();
    }

private:
    BinaryFile& file_;
};

}  // namespace

// The exact output's files, as qc::copyout handles them for the copy.
SaveReport Writer::exactcopy()
{
    BinaryFile& source = f_.sourcefile;
    const OutputOpen opened = openoutput(outputfile, targetname, earlyoutput() ? early : nullptr);
    if (opened == OutputOpen::Failed)
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputfile.peekerror()));
    if (!source.openexisting(f_.sourcename))
        return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(source.peekerror()));
    if (source.size() != f_.filesize)
        return savefailure(SaveFailure::SourceChanged, SaveReport::Source);
    std::int64_t bytes = 0;
    SaveReport r = exactout(source, bytes, opened == OutputOpen::Adopted ? early : nullptr);
    if (r.kind != ErrorKind::None)
        return r;
    if (opened == OutputOpen::Adopted)
        early->cancel();  // nothing of it is written after the save's last byte
    if (opened == OutputOpen::Adopted && !outputfile.truncatehere())
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputfile.peekerror()));
    if (replacesource && !outputfile.flush())
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputfile.peekerror()));
    source.close();
    outputfile.close();
    const int sourcecode = source.ioresult();
    const int outputcode = outputfile.ioresult();
    if (outputcode != 0)
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputcode));
    if (sourcecode != 0)
        return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(sourcecode));
    r.ok = true;
    r.bytes = bytes;
    r.frames = written.frames;
    return r;
}

// The exact output: planned from the frames' side information, its tag
// frame completed with the CRC of the audio it is followed by.
SaveReport Writer::exactout(BinaryFile& source, std::int64_t& bytes, EarlyCopy* adopted)
{
    FileBytes reader(source);
    ExactResult r = makeexactplan(f_, keptstructures(), mergedcuts(samplecuts, cuts_.samplecuts()), reader);
    if (!r.plan) {
        if (r.refusal == ExactRefusal::unreadable)
            return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(source.peekerror()));
        return savefailure(SaveFailure::NothingKept);
    }
    ExactPlan& plan = *r.plan;
    // the source's size was checked on opening; the mapping sees the same file
    switch (writeexactoutput(source, outputfile, plan, f_.sourcename, copybuffer_, crcpass, adopted)) {
    case ExactWriteFailure::None:
        break;
    case ExactWriteFailure::Source:
        return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(source.peekerror()));
    case ExactWriteFailure::Target:
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputfile.peekerror()));
    }
    written = plan.summary;
    bytes = plan.output.bytes();
    return {};
}

void Writer::failure(const SaveReport& r)
{
    showprogress(false);
    std::string text = r.failure == SaveFailure::NothingKept ? saveerror::nothingkept : saveerror::disk;
    if (std::string cause = savecause(r); !cause.empty())
        text += "\r\n" + cause;
    box_.msgbox(text, 48, errorcaption);
    closequietly(f_.sourcefile);
    closequietly(outputfile);
    saveok = false;
}

void Writer::finishsave(Job& job)
{
    if (replacesource) {
        if (saveok) {
            completereplacement(job);
        } else {
            deletefile(targetname);
            targetname = job.previoustarget;
        }
    }
    w_.setcursor(ui::Cursor::Normal);
    f_.busy = false;
    w_.filemenu.setenabled(true);
    w_.optmenu.setenabled(true);
}

void Writer::completereplacement(Job& job)
{
    copypermissions(job.replaced, targetname);
    if (!movereplacement(targetname, job.replaced, renamer)) {
        // The source is as it was; the new content goes.
        saveok = false;
        report = savefailure(SaveFailure::Disk, SaveReport::Target);
        box_.msgbox(std::string(saveerror::disk) + "\r\nThe new file could not take the source's name; the source is as it was.",
                    48, errorcaption);
        deletefile(targetname);
        targetname = job.previoustarget;
        return;
    }
    targetname = f_.sourcename;
    w_.playmenu.setenabled(true);
    w_.playbut.setenabled(true);
    cuts_.setstale(true);
    w_.savebut.setenabled(false);
    w_.savemenu.setenabled(false);
    cuts_.resetcuts();
}

}  // namespace qc
