// quillcut-cli cut: loads each file as info does, sets the cuts and removal
// boxes from the command line, and saves through the window program's
// writer, with the output named by the command line in place of the dialog.
#include "cli/cut_command.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "cli/batch.h"
#include "cli/early_cut.h"
#include "cli/engine.h"
#include "cli/file_regions.h"
#include "cli/output_names.h"
#include "cutting/audio_timeline.h"
#include "cutting/fixed.h"
#include "cutting/replacement.h"
#include "shell/writer.h"
#include "silence/methods.h"

namespace qccli {

namespace {

namespace fs = std::filesystem;

struct CutArgs {
    std::vector<std::string> files;
    std::string output, outputdir, suffix;
    bool inplace = false;
    std::optional<double> start, end;  // seconds
    std::optional<std::int32_t> startframes, endframes;
    std::optional<int> autostart, autoend;  // silence detection method 1..3
    int subtractstart = 0, subtractend = 0;
    bool removeriff = false, removeid3v2 = false, removeid3v1 = false;
    bool includeunknown = false;
    bool json = false;
    std::string policy = "attempt";
    int jobs = processorcount();
    bool byteexact = false;
    std::optional<std::int64_t> startsamples, endsamples;

    OutputRule rule() const
    {
        if (!output.empty())
            return {OutputMode::Named, output};
        if (!outputdir.empty())
            return {OutputMode::Directory, outputdir};
        if (inplace)
            return {OutputMode::InPlace, {}};
        return {OutputMode::Suffix, suffix};
    }
};

// The save dialog, answered with the name the command line chose.
class NamedTarget : public ui::DialogRunner {
public:
    explicit NamedTarget(std::string name) : name_(std::move(name)) {}
    bool execute(ui::FileDialog& d) override
    {
        d.filename = name_;
        return true;
    }

private:
    std::string name_;
};

// One side's cut in frames. Seconds become frames as the cut boxes make
// them, without their 99.9-second limit; a cut beyond the frame count is
// held at it, which leaves no frame either way.
std::int32_t sidecut(const qc::LoadedFile& f, std::optional<double> seconds, std::optional<std::int32_t> frames)
{
    double n = 0;
    if (frames)
        n = *frames;
    else if (seconds)
        n = *seconds / f.secondsperframe;
    if (!(n < f.framecount))
        return f.framecount;
    return static_cast<std::int32_t>(std::max<std::int64_t>(0, qc::roundeven(n)));
}

// A removal box is ticked only where its structure was found.
void tick(ui::Control& box, bool wanted)
{
    if (wanted && box.visible() && box.enabled())
        box.setchecked(true);
}

bool kept(const ui::Control& box)
{
    return box.visible() && !box.checked();
}

// The cut box shows the cut, but its typing rule would hold it to 99.9
// seconds; the command line has no such limit.
void setcut(Engine& engine, int side, std::int32_t frames)
{
    engine.cuts.applycut(side, frames);
    engine.file.cutframes[side] = frames;
    engine.cuts.saveavailability(side);
}

// Everything the command line says about what to keep, in one place.
void setcuts(Engine& engine, const CutArgs& args)
{
    // a silence detection method sets its side as the auto-use on load would
    setcut(engine, 0, args.autostart ? qc::autoproposal(engine.file, 0, *args.autostart, args.subtractstart)
                                     : sidecut(engine.file, args.start, args.startframes));
    setcut(engine, 1, args.autoend ? qc::autoproposal(engine.file, 1, *args.autoend, args.subtractend)
                                   : sidecut(engine.file, args.end, args.endframes));
    tick(engine.form.riffcheck, args.removeriff);
    tick(engine.form.headtagcheck, args.removeid3v2);
    tick(engine.form.Foottagcheck, args.removeid3v1);
}

// In exact output --start and --end SECONDS are audio time, cut to the
// sample on the timeline a player plays, as the window cuts a typed time;
// the record's cuts hold the frames those samples remove whole.
qc::SampleCuts timecuts(Engine& engine, const CutArgs& args)
{
    qc::SampleCuts c{args.startsamples, args.endsamples};
    if (args.byteexact || (!args.start && !args.end))
        return c;
    const std::optional<qc::AudioTimeline> t = qc::readaudiotimeline(engine.file);
    if (!t)
        return c;  // the frames stay; the save finds the source unreadable
    const std::optional<double> seconds[2] = {args.start, args.end};
    for (int side = 0; side < 2; ++side) {
        if (!seconds[side])
            continue;
        const std::int64_t n = qc::secondstosamples(*t, *seconds[side]);
        (side == 0 ? c.start : c.end) = n;
        setcut(engine, side, static_cast<std::int32_t>(qc::wholeframes(*t, side, n)));
    }
    return c;
}

// An output other than the source is written under a temporary name beside
// it and renamed into place when complete: the name never holds a partial
// file, and what it held before stays until the new content is there.
class StagedOutput {
public:
    // Reserves the temporary name; the failure when the directory takes no file.
    std::optional<Failure> reserve(const std::string& target, std::size_t index)
    {
        target_ = target;
        std::error_code ignored;
        replacing_ = fs::exists(target, ignored);
        fs::path dir = fs::path(target).parent_path();
        std::string name = ".qc" + std::to_string(::getpid()) + "-" + std::to_string(index) + ".part";
        staged_ = (dir.empty() ? fs::path(name) : dir / name).string();
        int fd = ::open(staged_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            int code = errno;
            staged_.clear();
            return Failure{code == EACCES || code == EPERM || code == EROFS ? ErrorKind::Permission
                                                                            : ErrorKind::WriteFailed,
                           "cannot create " + target + ": " + errnotext(code), qc::saveerror::disk};
        }
        ::close(fd);
        return std::nullopt;
    }

    const std::string& staged() const { return staged_; }
    bool active() const { return !staged_.empty(); }

    // Moves the finished file into place.
    std::optional<Failure> commit()
    {
        // A file that takes the place of another is on the disk before it
        // takes the name, as a replacement of the source is: a crash then
        // leaves the old content or the new one. A new name puts nothing
        // at risk, and is left to the system's write-back, as cp leaves it.
        if (replacing_) {
            int fd = ::open(staged_.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
        }
        if (::rename(staged_.c_str(), target_.c_str()) != 0) {
            int code = errno;
            discard();
            return Failure{ErrorKind::WriteFailed, "cannot write " + target_ + ": " + errnotext(code),
                           qc::saveerror::disk};
        }
        staged_.clear();
        return std::nullopt;
    }

    void discard()
    {
        if (!staged_.empty())
            ::unlink(staged_.c_str());
        staged_.clear();
    }

    ~StagedOutput() { discard(); }

private:
    std::string target_, staged_;
    bool replacing_ = false;  // the target existed when the name was reserved
};

// The writer's temporary file for a replacement of the source, made before
// the load so that the early copy can write into it. The writer takes it
// over; where it never came to that (a failed load, nothing to save) the
// file goes again.
class ReplacementScratch {
public:
    // Its name, or nothing when it cannot be made.
    std::string reserve(const std::string& source)
    {
        name_ = qc::temporaryname(qc::replacedfile(source));
        // the writer removes whatever lies under the name first, too
        ::unlink(name_.c_str());
        int fd = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            name_.clear();
            return {};
        }
        ::close(fd);
        return name_;
    }
    // The writer has it: renamed over the source, or removed.
    void handedover() { name_.clear(); }
    ~ReplacementScratch()
    {
        if (!name_.empty())
            ::unlink(name_.c_str());
    }

private:
    std::string name_;
};

// The cause behind the writer's one disk error text.
Failure savefailure(const qc::LoadedFile& f, const std::string& target, const std::string& written,
                    std::int64_t needed)
{
    struct stat st {};
    if (::stat(f.sourcename.c_str(), &st) != 0 || st.st_size != f.filesize)
        return {ErrorKind::ReadFailed, "cannot read " + f.sourcename + ": it changed since it was loaded",
                qc::saveerror::disk};
    struct statvfs vfs {};
    fs::path dir = fs::path(written).parent_path();
    if (::statvfs(dir.empty() ? "." : dir.c_str(), &vfs) == 0 &&
        static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize) < needed)
        return {ErrorKind::WriteFailed, "cannot write " + target + ": " + errnotext(ENOSPC), qc::saveerror::disk};
    return {ErrorKind::WriteFailed, "cannot write " + target + ": the write or the copy of the source failed",
            qc::saveerror::disk};
}

// What the command line says of the cut before the load, for the early
// copy: the start in frames, samples or seconds (not a silence detection,
// which needs the whole file) and the structures kept.
std::optional<qc::EarlyCut> earlycut(const CutArgs& args)
{
    if (args.autostart)
        return std::nullopt;
    qc::EarlyCut c;
    c.keep = {!args.removeid3v2, !args.removeriff, !args.removeid3v1};
    c.startframes = args.startframes.value_or(0);
    c.samples.start = args.startsamples;
    c.endcut = args.autoend || args.endframes.value_or(0) > 0 || args.end.value_or(0) > 0 ||
               args.endsamples.value_or(0) > 0;
    c.exact = !args.byteexact;
    return c;
}

CutReport cut(Engine& engine, const CutArgs& args, const std::string& source, const std::string& target,
              std::size_t index)
{
    CutReport r;
    r.file = source;
    r.output = target;

    const bool replacing = qc::samefile(target, source);
    StagedOutput staged;
    std::string written = fs::absolute(target).string();
    // Where no file can be made beside the output, the writer is left to
    // find out whether it has anything to write at all.
    std::optional<Failure> unstaged;
    if (!replacing) {
        unstaged = staged.reserve(written, index);
        if (!unstaged)
            written = staged.staged();
    }
    // the frames behind the walk go to the output while the load runs: to
    // the staged file, or to the writer's temporary file for a replacement
    ReplacementScratch scratch;
    const std::optional<qc::EarlyCut> want = EarlyCut::enabled() ? earlycut(args) : std::nullopt;
    const std::string earlyto = !want ? std::string() : replacing ? scratch.reserve(source) : staged.staged();
    std::optional<EarlyCut> early;
    if (!earlyto.empty())
        early.emplace(engine.file, *want, args.start, earlyto);
    engine.pump.walkstep = [&early] {
        if (early)
            early->step();
    };
    const bool loaded = engine.load(source, {args.policy == "attempt", args.includeunknown});
    engine.pump.walkstep = nullptr;
    if (!loaded) {
        r.error = engine.failure;
        r.warnings = engine.warnings;
        return r;
    }
    r.loaded = true;
    r.warnings = engine.warnings;
    setcuts(engine, args);
    const qc::SampleCuts samplecuts = timecuts(engine, args);
    qc::LoadedFile& f = engine.file;

    // what the output leaves out, from the writer's own plan, taken before
    // a replacement of the source resets the cuts
    const qc::KeptStructures keep{kept(engine.form.headtagcheck), kept(engine.form.riffcheck),
                                  kept(engine.form.Foottagcheck)};
    const std::optional<qc::CopyPlan> plan = qc::makecopyplan(f, keep);
    const std::vector<Region> regions = fileregions(f, engine.truncated);
    const std::int32_t frameskept = f.framecount - f.cutframes[0] - f.cutframes[1];

    NamedTarget dialog(written);
    qc::Writer writer(f, engine.form, engine.cuts, engine.box, dialog);
    writer.early = early ? early->copy() : nullptr;
    writer.exact = !args.byteexact;
    writer.samplecuts = samplecuts;
    engine.box.error.clear();
    engine.box.messages.clear();
    writer.savebutClick();
    if (writer.replacesource)
        scratch.handedover();

    r.frameskept = frameskept;
    if (writer.saveok) {
        if (staged.active())
            if (std::optional<Failure> failed = staged.commit()) {
                r.error = failed;
                return r;
            }
        r.saved = true;
        r.bytes = writer.byteswritten;
        r.seconds = r.frameskept * f.secondsperframe;
        if (writer.exact) {
            r.exact = writer.written;
            r.seconds = writer.written.seconds();
        }
        if (plan)
            r.leftout = leftout(regions, *plan);
    } else if (!engine.box.error.empty()) {
        const std::string& text = engine.box.error;
        if (text == qc::saveerror::nothingkept)
            r.error = Failure{ErrorKind::NothingToSave, source + ": " + text, text};
        else if (unstaged)
            r.error = unstaged;
        else
            r.error = savefailure(f, target, written, plan ? plan->bytes() : 0);
    } else {
        r.unchanged = true;
        r.frameskept = f.framecount;
        r.seconds = f.framecount * f.secondsperframe;
    }
    return r;
}

void checkoutputs(const CutArgs& args)
{
    int chosen = !args.output.empty() + !args.outputdir.empty() + !args.suffix.empty() + args.inplace;
    if (chosen != 1)
        throw CLI::ValidationError("cut", "name the output: -o OUTPUT, --output-dir DIR, --suffix TEXT or --in-place");
    if (!args.output.empty() && args.files.size() != 1)
        throw CLI::ValidationError("-o", "-o names the output of one file; for several use --output-dir, "
                                         "--suffix or --in-place");
}

}  // namespace

void addcutcommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<CutArgs>();
    CLI::App* cmd = app.add_subcommand("cut", "Trim frames and structures off MP3 files, without re-encoding");
    cmd->add_option("FILE", args->files, "The MP3 files to trim")->required();
    cmd->add_option("-o,--output", args->output, "The file to write (one FILE); FILE itself replaces it safely");
    cmd->add_option("--output-dir", args->outputdir, "Write each output into DIR, under its source's name");
    cmd->add_option("--suffix", args->suffix, "Write each output beside its source, TEXT added to the name");
    cmd->add_flag("--in-place", args->inplace, "Replace each source with its output, safely");
    CLI::Option* start = cmd->add_option("--start", args->start,
                                         "Seconds to cut at the start (to the sample; whole frames with --byte-exact)")
                             ->check(CLI::NonNegativeNumber);
    CLI::Option* startframes = cmd->add_option("--start-frames", args->startframes, "Frames to cut at the start")
                                   ->check(CLI::NonNegativeNumber);
    CLI::Option* end = cmd->add_option("--end", args->end,
                                       "Seconds to cut at the end (to the sample; whole frames with --byte-exact)")
                           ->check(CLI::NonNegativeNumber);
    CLI::Option* endframes = cmd->add_option("--end-frames", args->endframes, "Frames to cut at the end")
                                 ->check(CLI::NonNegativeNumber);
    CLI::Option* startsamples =
        cmd->add_option("--start-samples", args->startsamples, "Samples of the decoded audio to cut at the start")
            ->check(CLI::NonNegativeNumber)
            ->excludes(start)
            ->excludes(startframes);
    CLI::Option* endsamples =
        cmd->add_option("--end-samples", args->endsamples, "Samples of the decoded audio to cut at the end")
            ->check(CLI::NonNegativeNumber)
            ->excludes(end)
            ->excludes(endframes);
    start->excludes(startframes);
    end->excludes(endframes);
    CLI::Option* autostart =
        cmd->add_option("--auto-start", args->autostart, "Cut at the start what silence detection method M finds")
            ->check(CLI::Range(1, 3))
            ->excludes(start)
            ->excludes(startframes)
            ->excludes(startsamples);
    CLI::Option* autoend =
        cmd->add_option("--auto-end", args->autoend, "Cut at the end what silence detection method M finds")
            ->check(CLI::Range(1, 3))
            ->excludes(end)
            ->excludes(endframes)
            ->excludes(endsamples);
    cmd->add_option("--subtract-start", args->subtractstart, "Frames of the detected silence to keep at the start")
        ->check(CLI::Range(0, 99))
        ->needs(autostart);
    cmd->add_option("--subtract-end", args->subtractend, "Frames of the detected silence to keep at the end")
        ->check(CLI::Range(0, 99))
        ->needs(autoend);
    cmd->add_flag("--remove-riff", args->removeriff, "Leave out the RIFF header");
    cmd->add_flag("--remove-id3v2", args->removeid3v2, "Leave out the ID3v2 tag");
    cmd->add_flag("--remove-id3v1", args->removeid3v1, "Leave out the ID3v1 tag");
    cmd->add_flag("--include-unknown", args->includeunknown, "Keep data of unknown origin");
    cmd->add_option("--policy", args->policy, "At damaged frames: fail, or attempt to continue")
        ->check(CLI::IsMember({"fail", "attempt"}));
    CLI::Option* byteexact = cmd->add_flag(
        "--byte-exact", args->byteexact,
        "Copy the kept frames byte for byte, without a new VBR/gapless header or reservoir frames");
    startsamples->excludes(byteexact);
    endsamples->excludes(byteexact);
    cmd->add_flag("--json", args->json, "One JSON object per file per line, with what exact output wrote");
    cmd->add_option("--jobs", args->jobs, "Files handled at the same time (default: the number of processors)")
        ->check(CLI::Range(1, 1024));
    cmd->callback([args, &status] {
        checkoutputs(*args);
        std::unique_ptr<Formatter> format = args->json ? jsonformatter() : textformatter();
        const OutputRule rule = args->rule();
        std::vector<std::string> outputs;
        for (const std::string& file : args->files)
            outputs.push_back(outputname(file, rule));
        const std::vector<std::optional<std::string>> clash = clashes(args->files, outputs);
        Engine engine;
        Batch batch;
        batch.names = args->files;
        batch.jobs = args->jobs;
        batch.work = [&](std::size_t i) {
            if (clash[i]) {
                CutReport r;
                r.file = args->files[i];
                r.output = outputs[i];
                r.error = Failure{ErrorKind::Usage, *clash[i], {}};
                return format->cut(r);
            }
            return format->cut(cut(engine, *args, args->files[i], outputs[i], i));
        };
        batch.lost = [&](std::size_t i, const std::string& why) {
            CutReport r;
            r.file = args->files[i];
            r.output = outputs[i];
            r.error = Failure{ErrorKind::Internal, r.file + ": " + why, {}};
            return format->cut(r);
        };
        if (!runbatch(batch))
            status = 1;
    });
}

}  // namespace qccli
