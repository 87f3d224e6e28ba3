#pragma once

#include <CLI/CLI.hpp>

namespace qccli {
// quillcut-cli tags [--json] [--jobs N] FILE...
void addtagscommand(CLI::App& app, int& status);
}  // namespace qccli
