// quillcut-cli: the engine of Quillcut for scripts and batch work.
#include <CLI/CLI.hpp>
#include <cstring>
#include <iostream>

#include "cli/cut_command.h"
#include "cli/formatter.h"
#include "cli/info_command.h"
#include "cli/split_command.h"
#include "cli/tags_command.h"

namespace {
bool wantsjson(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0)
            return true;
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Quillcut: trim MP3 files without re-encoding, to the frame or to the sample"};
    app.name("quillcut-cli");
    // The same number as the window program's Info window.
    app.set_version_flag("--version", std::string("quillcut-cli ") + QC_VERSION,
                         "Print the version and exit");
    app.require_subcommand(1);
    int status = 0;
    qccli::addinfocommand(app, status);
    qccli::addcutcommand(app, status);
    qccli::addtagscommand(app, status);
    qccli::addsplitcommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);
        // a script that asked for JSON gets its usage error as JSON too
        if (wantsjson(argc, argv)) {
            std::cout << qccli::jsonformatter()->usage(e.what()).out;
            std::cout.flush();
        }
        app.exit(e);
        return 2;
    }
    return status;
}
