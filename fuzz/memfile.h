// The fuzz input as a file that the engine opens by name, as it opens a
// user's file: an anonymous file in memory, named through /proc/self/fd,
// rewritten for every input so that no disk is touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qcfuzz {

class MemFile {
public:
    MemFile();
    ~MemFile();
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;

    // Replaces the whole content; returns the name to open it by.
    const std::string& hold(const std::uint8_t* data, std::size_t size);
    const std::string& path() const { return path_; }
    std::int64_t size() const;

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qcfuzz
