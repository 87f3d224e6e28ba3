// quillcut-cli: the engine of Quillcut for scripts and batch work.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/cut_command.h"
#include "cli/info_command.h"
#include "cli/tags_command.h"
#include "ui/info_form.h"

int main(int argc, char** argv)
{
    CLI::App app{"Quillcut: trim MP3 files frame by frame, without re-encoding"};
    app.name("quillcut-cli");
    // The same number as the window program's Info window.
    app.set_version_flag("--version", std::string("quillcut-cli ") + ui::programversion(),
                         "Print the version and exit");
    app.require_subcommand(1);
    int status = 0;
    qccli::addinfocommand(app, status);
    qccli::addcutcommand(app, status);
    qccli::addtagscommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int rc = app.exit(e);
        return rc == 0 ? 0 : 2;
    }
    return status;
}
