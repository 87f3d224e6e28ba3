#pragma once

#include <CLI/CLI.hpp>

namespace qccli {
// quillcut-cli info [--json [--gains]] [--policy fail|attempt] [--include-unknown] [--jobs N] FILE...
void addinfocommand(CLI::App& app, int& status);
}  // namespace qccli
