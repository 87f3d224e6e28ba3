// quillcut-cli cut: loads each file as info does, sets the cuts and removal
// boxes from the command line, and saves through the window program's
// writer, with the output named by the command line in place of the dialog.
#include "cli/cut_command.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "cli/batch.h"
#include "cli/engine.h"
#include "cli/file_regions.h"
#include "cli/interrupts.h"
#include "cli/output_names.h"
#include "cutting/audio_timeline.h"
#include "cutting/audio_timeline.h"
#include "cutting/fixed.h"
#include "cutting/replacement.h"
#include "cutting/save.h"
#include "stream/paths.h"
#include "texts/save_texts.h"
#include "silence/methods.h"

namespace qccli {

namespace {

namespace fs = std::filesystem;

struct CutArgs {
    std::vector<std::string> files;
    std::string output, outputdir, suffix;
    bool inplace = false;
    std::optional<double> start, end;  // seconds
    std::optional<std::int64_t> startframes, endframes;
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

// One side's cut in frames. Seconds become frames as the cut boxes make
// them, without their 99.9-second limit; a cut beyond the frame count is
// held at it, which leaves no frame either way.
std::int64_t sidecut(const qc::LoadedFile& f, std::optional<double> seconds, std::optional<std::int64_t> frames)
{
    double n = 0;
    if (frames)
        n = *frames;
    else if (seconds)
        n = *seconds / f.secondsperframe;
    if (!(n < f.framecount))
        return f.framecount;
    return std::max<std::int64_t>(0, qc::roundeven(n));
}

// Everything the command line says about what to keep, in one place: the
// cuts (a silence detection method sets its side as the auto-use on load
// would) and the structures kept (a removal flag counts only where its
// structure was found; a damaged ID3v1 tag is never kept).
qc::SaveChoices choices(const qc::LoadedFile& f, const qc::LoadReport& report, const CutArgs& args)
{
    qc::SaveChoices c;
    c.cuts[0] = args.autostart ? qc::autoproposal(f, 0, *args.autostart, args.subtractstart)
                               : sidecut(f, args.start, args.startframes);
    c.cuts[1] = args.autoend ? qc::autoproposal(f, 1, *args.autoend, args.subtractend)
                             : sidecut(f, args.end, args.endframes);
    c.keep.headtag = report.id3v2.present && !args.removeid3v2;
    c.keep.riff = report.riff.present && !args.removeriff;
    c.keep.footer = report.id3v1.present && !report.id3v1damaged && !args.removeid3v1;
    c.includeleading = f.includeleading;
    c.includebetween = f.includebetween;
    c.includeafter = f.includeafter;
    return c;
}

// In exact output --start and --end SECONDS are audio time, cut to the
// sample on the timeline a player plays, as the window cuts a typed time;
// the frame cuts become the frames those samples remove whole.
qc::SampleCuts timecuts(const qc::LoadedFile& f, const CutArgs& args, qc::SaveChoices& c)
{
    qc::SampleCuts cuts{args.startsamples, args.endsamples};
    if (args.byteexact || (!args.start && !args.end))
        return cuts;
    const std::optional<qc::AudioTimeline> t = qc::readaudiotimeline(f);
    if (!t)
        return cuts;  // the frames stay; the save finds the source unreadable
    const std::optional<double> seconds[2] = {args.start, args.end};
    for (int side = 0; side < 2; ++side) {
        if (!seconds[side])
            continue;
        const std::int64_t n = qc::secondstosamples(*t, *seconds[side]);
        (side == 0 ? cuts.start : cuts.end) = n;
        c.cuts[side] = qc::wholeframes(*t, side, n);
    }
    return cuts;
}

CutReport cut(Engine& engine, const CutArgs& args, const std::string& source, const std::string& target)
{
    CutReport r;
    r.file = source;
    r.output = target;
    if (!engine.load(source, {args.policy == "attempt", args.includeunknown})) {
        r.error = engine.failure;
        r.warnings = engine.warnings;
        return r;
    }
    r.loaded = true;
    r.warnings = engine.warnings;
    const qc::LoadedFile& f = engine.file;

    qc::SaveRequest request;
    request.choices = choices(f, engine.report, args);
    request.exact = !args.byteexact;
    request.samples = timecuts(f, args, request.choices);
    request.target = target;
    const qc::SaveChoices& c = request.choices;
    const bool samplecuts =
        request.exact && (request.samples.start.value_or(0) > 0 || request.samples.end.value_or(0) > 0);
    if (!qc::changesanything(f, c, samplecuts)) {
        r.unchanged = true;
        r.frameskept = f.framecount;
        r.seconds = static_cast<double>(f.framecount) * f.secondsperframe;
        return r;
    }
    r.frameskept = f.framecount - c.cuts[0] - c.cuts[1];
    qc::SaveSeams seams;
    seams.staged = settemporary;
    const qc::SaveReport saved = qc::save(f, request, seams);
    if (!saved.ok) {
        const std::string window = qc::savefailuretext(saved.error);
        r.error = Failure{static_cast<ErrorKind>(saved.error.kind), qc::errormessage(saved.error, window), window};
        return r;
    }
    r.saved = true;
    if (saved.otherlinks > 0)
        r.warnings.push_back(target + " had " + std::to_string(saved.otherlinks) + " other name" +
                             (saved.otherlinks == 1 ? "" : "s") +
                             " (hard links), which keep the old content.");
    r.bytes = saved.bytes;
    r.seconds = static_cast<double>(r.frameskept) * f.secondsperframe;
    if (saved.exact) {
        r.exact = *saved.exact;
        r.seconds = saved.exact->seconds();
    }
    // what the output leaves out, from the save's own plan
    if (const std::optional<qc::CopyPlan> plan = qc::makesaveplan(f, c))
        r.leftout = leftout(fileregions(f, engine.truncated), *plan);
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
    cmd->add_option("-o,--output", args->output, "The file to write (one FILE); FILE itself replaces it safely; - writes to standard output");
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
        watchinterrupts();
        std::unique_ptr<Formatter> format = args->json ? jsonformatter() : textformatter();
        const OutputRule rule = args->rule();
        std::vector<std::string> outputs;
        for (const std::string& file : args->files)
            outputs.push_back(outputname(file, rule));
        const std::vector<std::optional<std::string>> clash = clashes(args->files, outputs);
        // what killed runs left in the output folders goes first, once a folder
        std::set<std::string> folders;
        for (const std::string& o : outputs)
            if (o != qc::standardoutput && folders.insert(qc::directoryof(qc::replacedfile(o))).second)
                qc::removestaletemporaries(qc::directoryof(qc::replacedfile(o)));
        Batch batch;
        batch.names = args->files;
        batch.jobs = args->jobs;
        batch.work = [&](std::size_t i) {
            Engine engine;  // one loaded file per file of the command line
            if (clash[i]) {
                CutReport r;
                r.file = args->files[i];
                r.output = outputs[i];
                r.error = Failure{ErrorKind::Usage, *clash[i], {}};
                return format->cut(r);
            }
            Printed p = format->cut(cut(engine, *args, args->files[i], outputs[i]));
            // the audio goes to standard output: the report goes beside the errors
            if (args->output == qc::standardoutput) {
                p.err = p.out + p.err;
                p.out.clear();
            }
            return p;
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
