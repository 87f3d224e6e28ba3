// Runs the built quillcut-cli as a script would and captures what it prints.
#pragma once

#include <string>

namespace qctest {

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// args are passed through the shell as written (quote them yourself).
CliResult runcli(const std::string& args);

}  // namespace qctest
