// quillcut-cli split: loads each file as cut does, finds the points to split
// it at (its gaps, given times, a fixed length, a cue sheet) and writes the
// tracks between them, each one a save of its own.
#include "cli/split_command.h"

#include <filesystem>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "cli/batch.h"
#include "cli/engine.h"
#include "cli/interrupts.h"
#include "cutting/audio_timeline.h"
#include "cutting/fixed.h"
#include "cutting/save.h"
#include "splitting/cue_sheet.h"
#include "splitting/split_points.h"
#include "splitting/split_times.h"
#include "splitting/track_writer.h"
#include "stream/binary_file.h"
#include "stream/paths.h"
#include "texts/save_texts.h"

namespace qccli {

namespace {

namespace fs = std::filesystem;

struct SplitArgs {
    std::vector<std::string> files;
    std::string outputdir;
    bool silence = false;
    double mingap = 1.0;
    int tracks = 0;
    std::string at, every, cue, writecue;
    bool dryrun = false, byteexact = false, force = false, json = false;
    std::string policy = "attempt";
    int jobs = processorcount();

    // parsed once before any file
    std::vector<double> attimes;
    double everyseconds = 0;
    std::optional<qc::CueSheet> sheet;
};

// Where the tracks of file i go: the folder itself for one file, a folder
// named after each source inside it for several (their track names would meet).
std::string folderof(const SplitArgs& args, const std::string& source)
{
    if (args.files.size() == 1)
        return args.outputdir;
    return (fs::path(args.outputdir) / fs::path(source).stem()).string();
}

Failure usagefailure(const std::string& message)
{
    return Failure{ErrorKind::Usage, message, {}};
}

std::string where(const std::string& cue, int line)
{
    return line > 0 ? cue + ":" + std::to_string(line) : cue;
}

// The cue sheet's FILE names the source: the same file from the cue
// sheet's folder, or (a cue sheet moved away from its audio) its name.
bool namessource(const qc::CueSheet& sheet, const std::string& cuepath, const std::string& source)
{
    const fs::path named(sheet.file);
    const fs::path besidecue = fs::path(cuepath).parent_path() / named;
    std::error_code ec;
    if (fs::equivalent(besidecue, source, ec))
        return true;
    return named.filename() == fs::path(source).filename();
}

// The points of the file's split, or the failure that stops it.
std::optional<Failure> findpoints(const SplitArgs& args, const qc::LoadedFile& f, const qc::AudioTimeline& t,
                                  std::vector<qc::Track>& tracks, qc::SplitOptions& options,
                                  std::vector<std::string>& warnings)
{
    const std::int64_t end = t.samples;
    std::vector<std::int64_t> points;
    const std::string length = qc::fixed(t.duration(), 3) + " s";
    if (args.silence) {
        const std::vector<qc::Gap> gaps = qc::findgaps(f, t, 0, end, {args.mingap, args.tracks});
        points = qc::gappoints(gaps);
        if (gaps.empty() && args.tracks != 1)
            warnings.push_back("No gap of " + qc::fixed(args.mingap, 1) + " s or more was found: one track.");
        else if (args.tracks > 0 && static_cast<int>(gaps.size()) + 1 < args.tracks)
            warnings.push_back("Only " + std::to_string(gaps.size()) + " of the " + std::to_string(args.tracks - 1) +
                               " gaps asked for were found: " + std::to_string(gaps.size() + 1) + " tracks.");
    } else if (!args.attimes.empty()) {
        for (double s : args.attimes) {
            const std::int64_t p = qc::secondstosamples(t, s);
            if (p >= end)
                return usagefailure("--at " + qc::fixed(s, 3) + ": past the end of " + f.sourcename + " (" + length +
                                    ")");
            points.push_back(p);
        }
    } else if (args.everyseconds > 0) {
        points = qc::everypoints(0, end, qc::secondstosamples(t, args.everyseconds));
    } else if (args.sheet) {
        const qc::CueSheet& sheet = *args.sheet;
        if (!namessource(sheet, args.cue, f.sourcename))
            return usagefailure(where(args.cue, sheet.fileline) + ": the cue sheet is for \"" + sheet.file +
                                "\", not " + f.sourcename);
        for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
            const std::int64_t p = qc::cueframestosamples(sheet.tracks[i].index, t.samplerate);
            if (p >= end)
                return usagefailure(where(args.cue, sheet.tracks[i].line) + ": INDEX 01 " +
                                    qc::cuetimetext(sheet.tracks[i].index) + " lies past the end of " +
                                    f.sourcename + " (" + length + ")");
            if (i > 0)
                points.push_back(p);
        }
        options.album = sheet.title;
        options.performer = sheet.performer;
    }
    tracks = qc::tracksat(0, end, points);
    if (args.sheet)
        for (std::size_t i = 0; i < tracks.size() && i < args.sheet->tracks.size(); ++i) {
            tracks[i].title = args.sheet->tracks[i].title;
            tracks[i].performer = args.sheet->tracks[i].performer;
        }
    return std::nullopt;
}

// Writes the cue sheet of the planned tracks under a temporary name first.
std::optional<Failure> writecue(const SplitArgs& args, const std::string& source, const qc::SplitOptions& options,
                                const std::vector<qc::PlannedTrack>& planned, std::int32_t samplerate)
{
    qc::CueSheet sheet;
    const fs::path cuefolder = fs::absolute(args.writecue).parent_path();
    std::error_code ec;
    const fs::path relative = fs::relative(fs::absolute(source), cuefolder, ec);
    sheet.file = ec || relative.empty() ? fs::absolute(source).string() : relative.string();
    sheet.title = options.album;
    sheet.performer = options.performer;
    for (const qc::PlannedTrack& p : planned)
        sheet.tracks.push_back({p.title, p.track.performer, qc::samplestocueframes(p.track.start, samplerate), 0});
    // written whole under a name of its own, then renamed into place
    const std::string temporary = qc::stagingname(args.writecue);
    const std::string text = qc::cuesheettext(sheet);
    qc::BinaryFile out;
    bool ok = out.create(temporary, true, 0666) && out.write(text.data(), text.size()) == text.size();
    out.close();
    const int code = out.ioresult();
    ok = ok && code == 0 && qc::renamefile(temporary, args.writecue);
    if (!ok) {
        const int why = code != 0 ? qc::systemerror(code) : errno;
        qc::deletefile(temporary);
        const qc::Error e = qc::makeerror(qc::Cause::Disk, qc::Blame::Target, why, args.writecue, qc::Step::Write);
        return Failure{static_cast<ErrorKind>(e.kind), qc::errormessage(e, "cannot write the cue sheet"), {}};
    }
    return std::nullopt;
}

SplitReport split(Engine& engine, const SplitArgs& args, const std::string& source)
{
    SplitReport r;
    r.file = source;
    r.folder = folderof(args, source);
    r.dryrun = args.dryrun;
    if (!engine.load(source, {args.policy == "attempt", false})) {
        r.error = engine.failure;
        r.warnings = engine.warnings;
        return r;
    }
    r.warnings = engine.warnings;
    const qc::LoadedFile& f = engine.file;
    const std::optional<qc::AudioTimeline> t = qc::readaudiotimeline(f);
    if (!t) {
        r.error = Failure{ErrorKind::ReadFailed, "cannot read " + source, {}};
        return r;
    }
    qc::SplitOptions options;
    options.folder = r.folder;
    options.exact = !args.byteexact;
    options.force = args.force;
    std::vector<qc::Track> tracks;
    if ((r.error = findpoints(args, f, *t, tracks, options, r.warnings)))
        return r;
    const std::vector<qc::PlannedTrack> planned = qc::plantracks(f, *t, tracks, options);
    for (const qc::PlannedTrack& p : planned)
        r.tracks.push_back({p.output, p.title, p.track.start, p.track.end, t->seconds(p.track.samples())});
    if (!args.writecue.empty()) {
        if (planned.size() > static_cast<std::size_t>(qc::maxcuetracks)) {
            r.error = usagefailure("--write-cue: " + std::to_string(planned.size()) +
                                   " tracks, and a cue sheet holds at most 99");
            return r;
        }
        if ((r.error = writecue(args, source, options, planned, t->samplerate)))
            return r;
        r.cue = args.writecue;
    }
    if (args.dryrun)
        return r;
    std::error_code ec;
    fs::create_directories(r.folder, ec);
    if (ec) {
        r.error = Failure{ErrorKind::WriteFailed, "cannot make the folder " + r.folder + ": " + ec.message(), {}};
        return r;
    }
    qc::removestaletemporaries(r.folder);
    qc::SplitHooks hooks;
    hooks.staged = settemporary;
    const qc::SplitOutcome outcome = qc::writetracks(f, *t, planned, options, hooks);
    if (outcome.error) {
        const std::string window = qc::savefailuretext(*outcome.error);
        std::string message = qc::errormessage(*outcome.error, window);
        if (outcome.error->cause == qc::Cause::TargetExists)
            message += " (--force replaces it)";
        else if (!outcome.tracks.empty())
            message += " (after " + std::to_string(outcome.tracks.size()) + " of " +
                       std::to_string(planned.size()) + " tracks were written)";
        r.error = Failure{static_cast<ErrorKind>(outcome.error->kind), message, window};
        return r;
    }
    r.written = true;
    return r;
}

// The times of --at and --every, read before any file is.
void parsetimes(SplitArgs& args)
{
    auto time = [](const std::string& option, const std::string& text) {
        const std::optional<double> s = qc::parseclock(text);
        if (!s)
            throw CLI::ValidationError(option, "\"" + text + "\" is not a time: give seconds (83.5) or [h:]mm:ss[.fff]");
        return *s;
    };
    if (!args.at.empty()) {
        std::size_t from = 0;
        for (;;) {
            const std::size_t comma = args.at.find(',', from);
            args.attimes.push_back(time("--at", args.at.substr(from, comma == std::string::npos ? comma : comma - from)));
            if (comma == std::string::npos)
                break;
            from = comma + 1;
        }
        for (double s : args.attimes)
            if (!(s > 0))
                throw CLI::ValidationError("--at", "a point at 0 would make an empty first track");
    }
    if (!args.every.empty()) {
        args.everyseconds = time("--every", args.every);
        if (!(args.everyseconds > 0))
            throw CLI::ValidationError("--every", "the length must be more than 0");
    }
}

void checkargs(SplitArgs& args)
{
    const int ways = args.silence + !args.at.empty() + !args.every.empty() + !args.cue.empty();
    if (ways != 1)
        throw CLI::ValidationError("split", "say where to split: --silence, --at TIME[,TIME...], --every TIME or "
                                            "--cue CUEFILE (one of them)");
    if (!args.writecue.empty() && args.files.size() != 1)
        throw CLI::ValidationError("--write-cue", "a cue sheet describes one file; give one FILE");
    if (!args.cue.empty() && args.files.size() != 1)
        throw CLI::ValidationError("--cue", "a cue sheet describes one file; give one FILE");
    parsetimes(args);
    if (!args.cue.empty()) {
        qc::CueRead read = qc::readcuesheet(args.cue);
        if (!read.sheet)
            throw CLI::ValidationError("--cue", where(args.cue, read.problem.line) + ": " + read.problem.message);
        args.sheet = std::move(read.sheet);
    }
}

}  // namespace

void addsplitcommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<SplitArgs>();
    CLI::App* cmd = app.add_subcommand("split", "Split MP3 files into tracks, gapless and without re-encoding");
    cmd->add_option("FILE", args->files, "The MP3 files to split")->required();
    cmd->add_option("--output-dir", args->outputdir, "The folder the tracks go into (made if missing)")->required();
    CLI::Option* silence =
        cmd->add_flag("--silence", args->silence, "Split in the gaps between tracks, found from the frames' gains");
    cmd->add_option("--min-gap", args->mingap, "The shortest gap in seconds (default 1.0)")
        ->check(CLI::PositiveNumber)
        ->needs(silence);
    cmd->add_option("--tracks", args->tracks, "The tracks wanted: the N-1 surest gaps")
        ->check(CLI::Range(1, 100000))
        ->needs(silence);
    cmd->add_option("--at", args->at, "Split at these times: seconds (83.5) or [h:]mm:ss[.fff], comma-separated");
    cmd->add_option("--every", args->every, "Split every TIME; the last track takes the rest");
    cmd->add_option("--cue", args->cue, "Split at the INDEX 01 times of a cue sheet, with its titles");
    cmd->add_option("--write-cue", args->writecue, "Write a cue sheet of the tracks");
    cmd->add_flag("--dry-run", args->dryrun, "Say where the tracks would go; write no audio");
    cmd->add_flag("--byte-exact", args->byteexact,
                  "Split at frame boundaries, byte for byte, without a new VBR/gapless header");
    cmd->add_flag("--force", args->force, "Replace files of the tracks' names");
    cmd->add_option("--policy", args->policy, "At damaged frames: fail, or attempt to continue")
        ->check(CLI::IsMember({"fail", "attempt"}));
    cmd->add_flag("--json", args->json, "One JSON object per file per line, with its tracks");
    cmd->add_option("--jobs", args->jobs, "Files handled at the same time (default: the number of processors)")
        ->check(CLI::Range(1, 1024));
    cmd->callback([args, &status] {
        checkargs(*args);
        watchinterrupts();
        std::unique_ptr<Formatter> format = args->json ? jsonformatter() : textformatter();
        Batch batch;
        batch.names = args->files;
        batch.jobs = args->jobs;
        // two sources of one name would put their tracks into one folder
        std::vector<std::optional<std::string>> clash(args->files.size());
        std::map<std::string, std::size_t> folders;
        for (std::size_t i = 0; i < args->files.size(); ++i) {
            const auto [at, first] = folders.emplace(folderof(*args, args->files[i]), i);
            if (!first)
                clash[i] = args->files[i] + ": its tracks would go into " + at->first + " with those of " +
                           args->files[at->second];
        }
        batch.work = [&](std::size_t i) {
            if (clash[i]) {
                SplitReport r;
                r.file = args->files[i];
                r.folder = folderof(*args, r.file);
                r.dryrun = args->dryrun;
                r.error = usagefailure(*clash[i]);
                return format->split(r);
            }
            Engine engine;
            return format->split(split(engine, *args, args->files[i]));
        };
        batch.lost = [&](std::size_t i, const std::string& why) {
            SplitReport r;
            r.file = args->files[i];
            r.folder = folderof(*args, r.file);
            r.dryrun = args->dryrun;
            r.error = Failure{ErrorKind::Internal, r.file + ": " + why, {}};
            return format->split(r);
        };
        if (!runbatch(batch))
            status = 1;
    });
}

}  // namespace qccli
