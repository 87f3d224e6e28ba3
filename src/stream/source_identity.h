// Which file a name denoted at a moment: device, inode, size and the
// modification and change times to the nanosecond. Taken when a load opens
// its source, and again before a save publishes its output, so that a save
// never builds an output from a file other than the one it loaded.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

struct SourceIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;  // -1: not taken
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::int64_t changed = 0;
    bool operator==(const SourceIdentity&) const = default;
};

// The identity of the open file fd; size -1 when fstat fails.
SourceIdentity identityof(int fd);
// The identity of the file path names (links followed); size -1 when it
// cannot be taken.
SourceIdentity identityof(const std::string& path);

}  // namespace qc
