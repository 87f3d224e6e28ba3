#pragma once

#include <CLI/CLI.hpp>

namespace qccli {
// quillcut-cli cut FILE... (-o OUTPUT | --output-dir DIR | --suffix TEXT | --in-place)
//   [--start SECONDS | --start-frames N] [--end SECONDS | --end-frames N]
//   [--auto-start M [--subtract-start N]] [--auto-end M [--subtract-end N]] [--remove-riff] [--remove-id3v2]
//   [--remove-id3v1] [--include-unknown] [--policy fail|attempt] [--json] [--jobs N]
void addcutcommand(CLI::App& app, int& status);
}  // namespace qccli
