// A thread that makes the page tables of a map ready a few megabytes ahead
// of a reader going forward through it, on a processor of its own.
//
// Faulting a page in takes the kernel longer than a walk that looks at a few
// bytes of each frame takes over it: looking the page up in the page cache,
// filling its table entry, and, where the cache has lost the page, waiting
// for the disk. Done beside the walk, that time is no longer the walk's.
//
// The reader says where it is (walked) at each stretch it enters and learns
// whether that stretch is ready; where the helper has fallen behind (no
// processor free for it, a slow disk, or simply a walk quicker than the
// kernel), the reader makes its own stretch ready, as it would without a
// helper, and the helper goes on a little beyond it: two threads filling the
// same page table take turns at its lock instead of working.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "stream/mapped_file.h"

namespace qc {

class ReadyAhead {
public:
    // Starts the helper for the map at data (size bytes), from offset on;
    // nullptr where no thread can be had, or no second processor is there
    // for it in the process's affinity (a helper on the reader's own
    // processor only takes turns with it).
    static std::unique_ptr<ReadyAhead> start(const std::uint8_t* data, std::size_t size,
                                             std::size_t offset);
    // Stops the helper and waits for it (at most the stretch it is making
    // ready); the map may be unmapped after this.
    ~ReadyAhead();
    ReadyAhead(const ReadyAhead&) = delete;
    ReadyAhead& operator=(const ReadyAhead&) = delete;

    // Tells the helper that the reader has come to offset, and says whether
    // the helper has made the stretch there ready.
    bool walked(std::size_t offset);

    // the size of the steps the helper makes ready in: the map's own
    static constexpr std::size_t stretch = MappedFile::stretch;

private:
    ReadyAhead(const std::uint8_t* data, std::size_t size, std::size_t offset);
    void run();

    const std::uint8_t* data_;
    std::size_t size_;
    std::vector<std::atomic<bool>> ready_;  // per stretch
    // in stretches: where the reader is, and the reader's position at which
    // the waiting helper wants to be woken
    std::atomic<std::uint32_t> walked_;
    std::atomic<std::uint32_t> wakeat_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace qc
