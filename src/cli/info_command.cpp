#include "cli/info_command.h"

#include <iostream>

#include "cli/report.h"

namespace qccli {

namespace {
struct InfoArgs {
    std::vector<std::string> files;
    bool json = false;
    std::string policy = "attempt";
    bool includeunknown = false;
};
}  // namespace

void addinfocommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<InfoArgs>();
    CLI::App* cmd = app.add_subcommand("info", "Show the structure of MP3 files as the window would");
    cmd->add_option("FILE", args->files, "MP3 files")->required();
    cmd->add_flag("--json", args->json, "One JSON object per file per line");
    cmd->add_option("--policy", args->policy, "At damaged frames: fail, or attempt to continue")
        ->check(CLI::IsMember({"fail", "attempt"}));
    cmd->add_flag("--include-unknown", args->includeunknown, "Answer Yes to including unknown data");
    cmd->callback([args, &status] {
        Engine engine;
        LoadOptions options{args->policy == "attempt", args->includeunknown};
        for (const std::string& name : args->files) {
            bool ok = engine.load(name, options);
            if (args->json)
                std::cout << inforeport(engine, name).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
            else
                std::cout << infotext(engine, name);
            if (!ok) {
                std::cerr << name << ": " << plainlines(engine.box.error) << "\n";
                status = 1;
            }
        }
    });
}

}  // namespace qccli
