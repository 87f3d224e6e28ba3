// quillcut-cli cut: loads a file as info does, sets the cuts and removal
// boxes from the command line, and saves through the window program's
// writer, with the output named on the command line in place of the dialog.
#include "cli/cut_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/engine.h"
#include "cutting/fixed.h"
#include "cutting/writer.h"
#include "silence/methods.h"

namespace qccli {

namespace {

using json = nlohmann::ordered_json;

struct CutArgs {
    std::string file;
    std::string output;
    std::optional<double> start, end;  // seconds
    std::optional<std::int32_t> startframes, endframes;
    std::optional<int> autostart, autoend;  // silence detection method 1..3
    int subtractstart = 0, subtractend = 0;
    bool removeriff = false, removeid3v2 = false, removeid3v1 = false;
    bool includeunknown = false;
    bool json = false;
    std::string policy = "attempt";
    bool byteexact = false;
    std::optional<std::int64_t> startsamples, endsamples;
};

// The save dialog, answered with the output named on the command line.
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

struct Outcome {
    bool saved = false;
    bool exact = false;
    qc::ExactSummary written;
    bool unchanged = false;
    std::string error;
    std::int32_t frames = 0;
    std::int64_t bytes = 0;
    double seconds = 0;
};

Outcome cut(Engine& engine, const CutArgs& args)
{
    Outcome out;
    if (!engine.load(args.file, {args.policy == "attempt", args.includeunknown})) {
        out.error = plainlines(engine.box.error);
        return out;
    }
    setcuts(engine, args);
    NamedTarget target(std::filesystem::absolute(args.output).string());
    qc::Writer writer(engine.file, engine.form, engine.cuts, engine.box, target);
    writer.exact = !args.byteexact;
    writer.samplecuts = {args.startsamples, args.endsamples};
    engine.box.error.clear();
    engine.box.messages.clear();
    writer.savebutClick();

    const qc::LoadedFile& f = engine.file;
    out.frames = f.framecount - f.cutframes[0] - f.cutframes[1];
    if (writer.saveok) {
        out.saved = true;
        out.bytes = writer.byteswritten;
        out.seconds = out.frames * f.secondsperframe;
        if (writer.exact) {
            out.exact = true;
            out.written = writer.written;
            out.seconds = writer.written.seconds();
        }
    } else if (!engine.box.error.empty()) {
        out.error = plainlines(engine.box.error);
    } else {
        out.unchanged = true;
        out.frames = f.framecount;
        out.seconds = f.framecount * f.secondsperframe;
    }
    return out;
}

void report(const CutArgs& args, const Outcome& out)
{
    if (args.json) {
        json j;
        j["output"] = out.saved ? json(args.output) : json(nullptr);
        bool known = out.error.empty();
        j["frames_kept"] = known ? json(out.frames) : json(nullptr);
        j["bytes"] = known ? json(out.bytes) : json(nullptr);
        j["seconds"] = known ? json(out.seconds) : json(nullptr);
        j["error"] = known ? json(nullptr) : json(out.error);
        if (out.saved && out.exact) {
            const qc::ExactSummary& w = out.written;
            j["exact"] = {{"samples", w.samples},        {"seconds", w.seconds()},
                          {"frames_written", w.frames},  {"reservoir_frames", w.reservoirframes},
                          {"carrier_frame", w.carrier},  {"silent_frames", w.silentframes},
                          {"new_tag", w.newtag},         {"delay", w.delay},
                          {"padding", w.padding}};
        }
        std::cout << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
        if (out.unchanged)
            std::cerr << qc::nochanges << "\n";
    } else if (out.saved && out.exact) {
        const qc::ExactSummary& w = out.written;
        std::cout << args.output << ": " << w.frames << " frames written, " << out.bytes << " bytes, "
                  << qc::fixed(w.seconds(), 3) << " seconds (" << w.samples << " samples)";
        if (w.reservoirframes > 0 || w.carrier)
            std::cout << ", " << w.reservoirframes << " reservoir frame" << (w.reservoirframes == 1 ? "" : "s")
                      << (w.carrier ? " and a carrier frame" : "") << " kept ahead of the audio";
        std::cout << "\n";
    } else if (out.saved) {
        std::cout << args.output << ": " << out.frames << " frames kept, " << out.bytes << " bytes written, "
                  << qc::fixed(out.seconds, 3) << " seconds\n";
    } else if (out.unchanged) {
        std::cout << qc::nochanges << "\n";
    }
    if (!out.error.empty())
        std::cerr << args.file << ": " << out.error << "\n";
}

}  // namespace

void addcutcommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<CutArgs>();
    CLI::App* cmd = app.add_subcommand("cut", "Trim frames and structures off an MP3 file, without re-encoding");
    cmd->add_option("FILE", args->file, "The MP3 file to trim")->required();
    cmd->add_option("-o,--output", args->output, "The file to write; FILE itself replaces it safely")->required();
    CLI::Option* start = cmd->add_option("--start", args->start, "Seconds to cut at the start")
                             ->check(CLI::NonNegativeNumber);
    CLI::Option* startframes = cmd->add_option("--start-frames", args->startframes, "Frames to cut at the start")
                                   ->check(CLI::NonNegativeNumber);
    CLI::Option* end = cmd->add_option("--end", args->end, "Seconds to cut at the end")
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
    cmd->add_flag("--json", args->json,
                  "One JSON object: output, frames_kept, bytes, seconds, error, and what exact output wrote");
    cmd->callback([args, &status] {
        Engine engine;
        Outcome out = cut(engine, *args);
        report(*args, out);
        if (!out.error.empty())
            status = 1;
    });
}

}  // namespace qccli
