#include "cutting/writer.h"

#include "cutting/fixed.h"
#include "cutting/replacement.h"

namespace qc {

namespace {

constexpr std::size_t maxname = 255;
const char* const errorcaption = "Error";

std::string filenamepart(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The directory of a full name with its trailing "/"; empty when it has none.
std::string directorypart(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool chosen(const ui::Control& box)
{
    return box.visible() && box.checked();
}

bool kept(const ui::Control& box)
{
    return box.visible() && !box.checked();
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
    if (exact && (samplecuts.start.value_or(0) > 0 || samplecuts.end.value_or(0) > 0))
        return true;
    if (chosen(w_.riffcheck) || chosen(w_.headtagcheck))
        return true;
    if (chosen(w_.Foottagcheck) && w_.infolabel.caption() != "no file loaded")
        return true;
    return cuts_.leftout();
}

KeptStructures Writer::keptstructures() const
{
    return {kept(w_.headtagcheck), kept(w_.riffcheck), kept(w_.Foottagcheck)};
}

// The record's positions hold only for the file as it was loaded.
bool Writer::sourceunchanged()
{
    BinaryFile probe;
    if (!probe.openexisting(f_.sourcename)) {
        probe.ioresult();
        return false;
    }
    std::int64_t size = probe.size();
    probe.close();
    probe.ioresult();
    return size == f_.filesize;
}

void Writer::writeoutput()
{
    if (f_.busy || !f_.loadok || cuts_.stale())
        return;
    Job job;
    job.previoustarget = targetname;
    beginsave();
    std::string error = runsave(job);
    if (!error.empty())
        failure(error);
    finishsave(job);
}

void Writer::beginsave()
{
    saveok = false;
    replacesource = false;
    f_.busy = true;
    w_.filemenu.setenabled(false);
    w_.optmenu.setenabled(false);
}

std::string Writer::runsave(Job& job)
{
    if (std::int64_t{f_.cutframes[0]} + f_.cutframes[1] >= f_.framecount)
        return saveerror::nothingkept;
    if (!sourceunchanged())
        return saveerror::disk;
    if (!choosetarget())
        return {};
    job.chosen = savedlg1.filename;
    // A longer name cannot be held; cutting it would write somewhere else.
    if (job.chosen.size() > maxname)
        return saveerror::disk;
    taketarget(job);
    showprogress(true);
    w_.setcursor(ui::Cursor::Hourglass);
    if (writesettings)
        writesettings();
    // The overwrite was confirmed in the dialog. Removing the name first
    // also keeps a link under it from being written through. A replacing
    // save removes only what lies under the temporary name.
    deletefile(targetname);
    return copyout();
}

bool Writer::choosetarget()
{
    savedlg1.initialdir = savedir;
    if (f_.proposename) {
        f_.proposename = false;
        savedlg1.filename = filenamepart(f_.sourcename);
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
    std::string dir = directorypart(job.chosen);
    if (!dir.empty() && dir.size() <= maxname)
        savedir = dir;
}

void Writer::showprogress(bool on)
{
    w_.filenamelabel.setvisible(!on);
    w_.pbar.setvisible(on);
}

std::string Writer::copyout()
{
    BinaryFile& source = f_.sourcefile;
    if (!outputfile.create(targetname))
        return saveerror::disk;
    if (!source.openexisting(f_.sourcename))
        return saveerror::disk;
    if (source.size() != f_.filesize)
        return saveerror::disk;
    std::int64_t bytes = 0;
    if (exact) {
        std::string error = exactout(source, bytes);
        if (!error.empty())
            return error;
    } else {
        std::optional<CopyPlan> plan = makecopyplan(f_, keptstructures());
        if (!plan) {
            closequietly(source);
            closequietly(outputfile);
            deletefile(targetname);
            return saveerror::nothingkept;
        }
        if (!copypieces(source, outputfile, *plan, copybuffer_))
            return saveerror::disk;
        bytes = plan->bytes();
        written = {};
        written.frames = f_.framecount - f_.cutframes[0] - f_.cutframes[1];
    }
    // A replacement must be on the disk before it takes the source's name.
    if (replacesource && !outputfile.flush())
        return saveerror::disk;
    showprogress(false);
    source.close();
    outputfile.close();
    bool closedok = source.ioresult() == 0;
    closedok = outputfile.ioresult() == 0 && closedok;
    if (!closedok)
        return saveerror::disk;
    byteswritten = bytes;
    // Play target for a replacement waits until the source holds the new content.
    if (!replacesource) {
        w_.playmenu.setenabled(true);
        w_.playbut.setenabled(true);
    }
    saveok = true;
    return {};
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

// The exact output: planned from the frames' side information, its tag
// frame completed with the CRC of the audio it is followed by.
std::string Writer::exactout(BinaryFile& source, std::int64_t& bytes)
{
    FileBytes reader(source);
    ExactResult r = makeexactplan(f_, keptstructures(), samplecuts, reader);
    if (!r.plan) {
        if (r.refusal == ExactRefusal::unreadable)
            return saveerror::disk;
        closequietly(source);
        closequietly(outputfile);
        deletefile(targetname);
        return saveerror::nothingkept;
    }
    ExactPlan& plan = *r.plan;
    if (plan.tagliteral >= 0) {
        std::uint16_t crc = 0;
        if (!outputcrc(source, plan.output, plan.audiofrom, plan.audioto, copybuffer_, crc))
            return saveerror::disk;
        finishexactplan(plan, crc);
    }
    if (!writeoutputplan(source, outputfile, plan.output, copybuffer_))
        return saveerror::disk;
    written = plan.summary;
    bytes = plan.output.bytes();
    w_.filenamelabel.sethint(writtentext(written));
    return {};
}

void Writer::failure(const std::string& text)
{
    showprogress(false);
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
        box_.msgbox(saveerror::disk, 48, errorcaption);
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
