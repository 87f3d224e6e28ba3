// A read-only memory map of a whole file, guarded against the file being cut
// short while it is mapped. Touching a page of a map beyond the file's
// current end raises SIGBUS; for the pages of the maps made here, a handler
// puts a page of zeros in its place and marks the map as faulted, so the
// reader gets zeros instead of a dead process and learns, at its next look
// at faulted(), that the bytes it just took may not be the file's. SIGBUS
// for any other address (or sent by kill) goes on to the handler that was
// there before, or to the default action.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qc {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { unmap(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the first size bytes of the open file fd; false (and nothing
    // mapped) when the system refuses or every guard slot is taken.
    // populate: the page tables are filled at once (for a pass over every
    // byte, which would otherwise fault every 64 KiB).
    bool map(int fd, std::size_t size, bool populate = false);
    // map, when files are mapped for reading (enabled()).
    bool mapforreading(int fd, std::size_t size);
    void unmap();

    bool mapped() const { return data_ != nullptr; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    // True once a page of the map was found beyond the end of the file.
    bool faulted() const;

    // Whether BinaryFile maps the files it reads. Off by default: on this
    // kind of machine (4 KiB pages, page cache faulted in 64 KiB at a time)
    // the walk through a map measured slower than through a 256 KiB read
    // window (3,200 faults and the unmap cost about what the copy saves, and
    // the walk then waits on memory at every page). Tests turn it on to
    // check the map path, which must end a load exactly as the window does.
    static bool enabled();
    static void setenabled(bool on);

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;
};

}  // namespace qc
