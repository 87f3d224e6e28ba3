// A read-only memory map of a whole file, guarded against the file being cut
// short while it is mapped. Touching a page of a map beyond the file's
// current end raises SIGBUS; for the pages of the maps made here, a handler
// puts a page of zeros in its place and marks the map as faulted, so the
// reader gets zeros instead of a dead process and learns, at its next look
// at faulted(), that the bytes it just took may not be the file's. SIGBUS
// for any other address (or sent by kill) goes on to the handler that was
// there before, or to the default action.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qc {

class ReadyAhead;

class MappedFile {
public:
    MappedFile();
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Whether a helper thread may make the stretches ahead of the reader
    // ready (readyahead): not for a pass that already runs beside other
    // work, which would only take turns with it.
    enum class Ahead { Helped, Alone };

    // Maps the first size bytes of the open file fd; false (and nothing
    // mapped) when the system refuses or every guard slot is taken.
    bool map(int fd, std::size_t size, Ahead ahead = Ahead::Helped);
    void unmap();

    bool mapped() const { return data_ != nullptr; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    // True once a page of the map was found beyond the end of the file.
    bool faulted() const
    {
        return flag_ != nullptr && flag_->load(std::memory_order_acquire) != 0;
    }

    // Makes the page tables of the stretch of the map around offset (an
    // aligned 512 KiB) ready, so that prefetches of it are not dropped and the
    // walk takes no fault in it. Nothing happens while offset lies in the
    // stretch made ready last or before it (the walk goes forward only, and
    // a look behind it takes a fault at worst). A file cut short meanwhile
    // is left to the guard: a stretch past its end is simply not made ready.
    // Where much of a large map lies ahead, a helper thread makes the
    // stretches ahead ready meanwhile (ReadyAhead), and this only looks.
    void readyahead(std::size_t offset)
    {
        if (offset >= readyend_)
            makeready(offset);
    }

    // readyahead for every stretch of [from, to), for a pass that hands a
    // run of the map to the kernel at once.
    void readyrange(std::size_t from, std::size_t to)
    {
        for (std::size_t at = from; at < to; at = stretchend(at))
            readyahead(at);
    }
    // the end of the stretch that holds offset
    static std::size_t stretchend(std::size_t offset) { return (offset / stretch + 1) * stretch; }
    // the size of the stretches made ready at a time (on a slow disk a
    // stretch is read before the walk goes on: a smaller one would cost
    // calls, a larger one the window's responsiveness)
    static constexpr std::size_t stretch = std::size_t{512} << 10;

    struct Region;  // a map in a guard slot

private:
    void makeready(std::size_t offset);

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    const std::atomic<int>* flag_ = nullptr;  // the guard's mark for this map
    std::size_t readyend_ = 0;
    std::unique_ptr<ReadyAhead> ahead_;
    bool aheadtried_ = false;  // (set from the start for a map made Alone)
    std::unique_ptr<Region> region_;
};

}  // namespace qc
