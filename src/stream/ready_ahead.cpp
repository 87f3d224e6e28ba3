#include "stream/ready_ahead.h"

#include <algorithm>
#include <cerrno>
#include <sched.h>
#include <sys/mman.h>
#include <system_error>

namespace qc {

namespace {

// How far ahead of the reader the helper goes, and how near the reader
// comes again before the helper goes on, in stretches: 32 MiB ahead, and on
// again at 16 MiB, wakes the helper once per 16 MiB walked, a walk of a
// millisecond or so, which covers the wake-up of a sleeping processor (with
// 8 MiB and 4 MiB, the walk made a third to two thirds of the stretches
// ready itself).
constexpr std::uint32_t lead = 64;
constexpr std::uint32_t resume = 32;
// Where the reader catches up, the helper goes on from the start of a page
// table at least two stretches beyond the reader (a table maps 2 MiB on
// x86-64 and arm64, four stretches), leaving those before it to the reader:
// two threads filling one table wait for each other at its lock.
constexpr std::uint32_t pertable = 4;
// the wake mark while the helper is not waiting
constexpr std::uint32_t asleep = 0xffffffffu;

// The processors this process may run on: its affinity (taskset, a
// container's share), not the machine's count.
unsigned processorsforus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();  // more processors than the set holds
}

std::uint32_t stretchof(std::size_t offset)
{
    return static_cast<std::uint32_t>(offset / ReadyAhead::stretch);
}

}  // namespace

std::unique_ptr<ReadyAhead> ReadyAhead::start(const std::uint8_t* data, std::size_t size,
                                              std::size_t offset)
{
    if (data == nullptr || offset >= size || size / stretch >= 0xffffffffu ||
        processorsforus() < 2)
        return nullptr;
    std::unique_ptr<ReadyAhead> ahead(new ReadyAhead(data, size, offset));
    try {
        ahead->thread_ = std::thread([p = ahead.get()] { p->run(); });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return ahead;
}

ReadyAhead::ReadyAhead(const std::uint8_t* data, std::size_t size, std::size_t offset)
    : data_(data),
      size_(size),
      ready_((size + stretch - 1) / stretch),
      walked_(stretchof(offset)),
      wakeat_(asleep)
{
}

ReadyAhead::~ReadyAhead()
{
    stop_.store(true, std::memory_order_release);
    walked_.fetch_add(1, std::memory_order_release);  // a change for the waiting helper to see
    walked_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool ReadyAhead::walked(std::size_t offset)
{
    const std::uint32_t at = stretchof(offset);
    if (at > walked_.load(std::memory_order_relaxed)) {
        // (in order with the helper's setting of the mark and its look at
        // the position; a wake missed all the same comes at the next stretch)
        walked_.store(at, std::memory_order_seq_cst);
        if (at >= wakeat_.load(std::memory_order_seq_cst))
            walked_.notify_one();
    }
    return at < ready_.size() && ready_[at].load(std::memory_order_acquire);
}

void ReadyAhead::run()
{
    const auto last = static_cast<std::uint32_t>(ready_.size());
    // the reader makes its first stretch ready itself, as the helper starts
    std::uint32_t next = walked_.load(std::memory_order_relaxed) + 1;
    while (next < last && !stop_.load(std::memory_order_acquire)) {
        std::uint32_t at = walked_.load(std::memory_order_acquire);
        if (next <= at + 1) {
            next = (at + 2) / pertable * pertable + pertable;
            if (next >= last)
                return;
        }
        if (next >= at + lead) {
            const std::uint32_t mark = next - lead + resume;
            wakeat_.store(mark, std::memory_order_seq_cst);
            // looked at again after the mark is set: a reader that passed
            // it meanwhile may not have seen it
            while ((at = walked_.load(std::memory_order_seq_cst)) < mark &&
                   !stop_.load(std::memory_order_acquire))
                walked_.wait(at, std::memory_order_acquire);
            wakeat_.store(asleep, std::memory_order_relaxed);
            continue;
        }
        const std::size_t from = static_cast<std::size_t>(next) * stretch;
        const std::size_t to = std::min(size_, from + stretch);
        if (::madvise(const_cast<std::uint8_t*>(data_) + from, to - from, MADV_POPULATE_READ) != 0) {
            if (errno == EINTR)
                continue;
            // the file cut short (EFAULT), no memory: the reader meets the
            // pages as they are, under the map's guard
            return;
        }
        ready_[next].store(true, std::memory_order_release);
        ++next;
    }
}

}  // namespace qc
