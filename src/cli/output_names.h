// Where each file of a cut goes, and the outputs that must not be written
// because they would clash with another file of the same run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qccli {

enum class OutputMode { Named, Directory, Suffix, InPlace };

struct OutputRule {
    OutputMode mode = OutputMode::Named;
    std::string text;  // the -o name, the directory or the suffix
};

// The output of source under the rule: the directory with the source's own
// name; the suffix before the source's extension (song.mp3 with "-cut"
// gives song-cut.mp3, beside it); the source itself.
std::string outputname(const std::string& source, const OutputRule& rule);

// For each file, why its output may not be written (or nothing): two files
// with one output, an output that is another file of the run (which may be
// read while it is replaced), or the temporary name of one in-place
// replacement meeting another file's name.
std::vector<std::optional<std::string>> clashes(const std::vector<std::string>& sources,
                                                const std::vector<std::string>& outputs);

}  // namespace qccli
