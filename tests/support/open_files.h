// What this process holds of a file: open descriptors and memory maps,
// read from /proc/self, so a test can tell that an operation let go of
// its source whatever object held the handle.
#pragma once

#include <string>

namespace qctest {

// Whether a descriptor of this process is open on path.
bool openinprocess(const std::string& path);
// Whether this process has path mapped into memory.
bool mappedinprocess(const std::string& path);

}  // namespace qctest
