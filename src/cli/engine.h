// One file of the command line, loaded: the engine's record and report of
// it, and what the command line says of the load (its failure, with the
// window's text beside the cause, and the warnings the window would show).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/load_report.h"
#include "cli/failure.h"
#include "stream/loaded_file.h"

namespace qccli {

struct LoadOptions {
    bool attempt = true;
    bool includeunknown = false;
};

class Engine {
public:
    // Loads the file as the window's Open does, with the command line's
    // answers to its questions; true when it loaded. A file that cannot be
    // opened is not given to the scanner: the failure names the cause.
    bool load(const std::string& path, const LoadOptions& options);

    // After load: why it failed, and the warnings (the window's warning
    // boxes, then what the command line adds).
    std::optional<Failure> failure;
    std::vector<std::string> warnings;
    bool truncated = false;  // a damaged tail was cut off

    qc::LoadedFile file;  // the loaded file, this engine's own
    qc::LoadReport report;
};

}  // namespace qccli
