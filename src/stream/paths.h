// The parts of a full file name, by its last "/".
#pragma once

#include <string>

namespace qc {

// The name after the last "/"; the whole name when it has none.
std::string filenameof(const std::string& path);
// The directory with its trailing "/"; empty for a name without any.
std::string directorywithslash(const std::string& path);
// The directory without a trailing "/" unless it is the root; empty for a
// name without any directory.
std::string directoryof(const std::string& path);

}  // namespace qc
