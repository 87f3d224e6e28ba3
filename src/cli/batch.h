// Running one verb over many files: in this process one after the other, or
// in parallel in worker processes. Each worker is a fork of this process, so
// it has its own copy of the program's one loaded-file record and of
// everything else the engine keeps; a worker that dies takes only its
// current file with it. Reports are printed in input order either way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/formatter.h"

namespace qccli {

struct Batch {
    std::vector<std::string> names;  // for the progress line
    int jobs = 1;
    // The report of file i (runs in a worker when jobs > 1).
    std::function<Printed(std::size_t)> work;
    // The report of file i whose worker stopped without one.
    std::function<Printed(std::size_t, const std::string& why)> lost;
};

// Prints every report; true when every file was handled.
bool runbatch(const Batch& batch);

// The number of processors online, at least 1.
int processorcount();

}  // namespace qccli
