#include "cli/info_command.h"

#include "cli/batch.h"
#include "cli/info_report.h"

namespace qccli {

namespace {
struct InfoArgs {
    std::vector<std::string> files;
    bool json = false;
    bool gains = false;
    std::string policy = "attempt";
    bool includeunknown = false;
    int jobs = processorcount();
};
}  // namespace

void addinfocommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<InfoArgs>();
    CLI::App* cmd = app.add_subcommand("info", "Show the structure of MP3 files as the window would");
    cmd->add_option("FILE", args->files, "MP3 files")->required();
    cmd->add_flag("--json", args->json, "One JSON object per file per line");
    cmd->add_flag("--gains", args->gains, "Also list every frame's gain value, in file order");
    cmd->add_option("--policy", args->policy, "At damaged frames: fail, or attempt to continue")
        ->check(CLI::IsMember({"fail", "attempt"}));
    cmd->add_flag("--include-unknown", args->includeunknown, "Answer Yes to including unknown data");
    cmd->add_option("--jobs", args->jobs, "Files handled at the same time (default: the number of processors)")
        ->check(CLI::Range(1, 1024));
    cmd->callback([args, &status] {
        std::unique_ptr<Formatter> format = args->json ? jsonformatter() : textformatter();
        LoadOptions options{args->policy == "attempt", args->includeunknown};
        Batch batch;
        batch.names = args->files;
        batch.jobs = args->jobs;
        batch.work = [&](std::size_t i) {
            Engine engine;  // one loaded file per file of the command line
            engine.load(args->files[i], options);
            return format->info(inforeport(engine, args->files[i], args->gains));
        };
        batch.lost = [&](std::size_t i, const std::string& why) {
            InfoReport r;
            r.file = args->files[i];
            r.error = Failure{ErrorKind::Internal, r.file + ": " + why, {}};
            return format->info(r);
        };
        if (!runbatch(batch))
            status = 1;
    });
}

}  // namespace qccli
