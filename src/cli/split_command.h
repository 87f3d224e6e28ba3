#pragma once

#include <CLI/CLI.hpp>

namespace qccli {
// quillcut-cli split FILE... --output-dir DIR
//   (--silence [--min-gap SECONDS] [--tracks N] | --at TIME[,TIME...] | --every TIME | --cue CUEFILE)
//   [--write-cue CUEFILE] [--dry-run] [--byte-exact] [--force] [--json] [--jobs N] [--policy fail|attempt]
void addsplitcommand(CLI::App& app, int& status);
}  // namespace qccli
