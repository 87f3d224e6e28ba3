#pragma once

#include <CLI/CLI.hpp>

namespace qccli {
// quillcut-cli info [--json] [--policy fail|attempt] [--include-unknown] FILE...
void addinfocommand(CLI::App& app, int& status);
}  // namespace qccli
