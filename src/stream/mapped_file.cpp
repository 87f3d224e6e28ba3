#include "stream/mapped_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "stream/ready_ahead.h"

namespace qc {

namespace {

// The maps the handler answers for. A slot is claimed (used), then given
// its range; the handler only reads, so it needs no lock.
struct GuardSlot {
    std::atomic<int> used{0};
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<int> faulted{0};
};
constexpr int slotcount = 64;
GuardSlot slots[slotcount];

struct sigaction previous {};
std::uintptr_t pagesize = 4096;

void guardhandler(int sig, siginfo_t* info, void* context);

// Hands a SIGBUS that is not ours to whoever had it before.
void passon(int sig, siginfo_t* info, void* context)
{
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(sig, info, context);
        return;
    }
    if (previous.sa_handler == SIG_IGN && info != nullptr && info->si_code <= 0)
        return;  // sent by a process and ignored, as it was before
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(sig);
        return;
    }
    // The default action: taken when the handler returns (the signal is
    // blocked until then), for a fault and for a sent signal alike.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(SIGBUS, &dfl, nullptr);
    ::raise(SIGBUS);
}

void guardhandler(int sig, siginfo_t* info, void* context)
{
    const int saved = errno;
    if (info != nullptr && info->si_code > 0) {  // raised by the kernel for an access
        const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
        for (GuardSlot& s : slots) {
            if (s.used.load(std::memory_order_acquire) == 0)
                continue;
            const std::uintptr_t start = s.start.load(std::memory_order_acquire);
            const std::uintptr_t end = s.end.load(std::memory_order_acquire);
            if (at < start || at >= end)
                continue;
            void* page = reinterpret_cast<void*>(at & ~(pagesize - 1));
            if (::mmap(page, pagesize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
                MAP_FAILED) {
                s.faulted.store(1, std::memory_order_release);
                errno = saved;
                return;  // the access is made again, and reads zeros
            }
            break;
        }
    }
    errno = saved;
    passon(sig, info, context);
}

// Puts the handler in place, once for the whole run, in front of whatever
// was there then (the handler it passes on to). A handler installed later
// by someone else stays in front of this one and must pass SIGBUS on.
void installguard()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const long ps = ::sysconf(_SC_PAGESIZE);
        if (ps > 0)
            pagesize = static_cast<std::uintptr_t>(ps);
        struct sigaction ours {};
        ours.sa_sigaction = guardhandler;
        ours.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
        sigemptyset(&ours.sa_mask);
        ::sigaction(SIGBUS, &ours, &previous);
    });
}

// From this size on a map earns a helper (a thread's start and end cost
// about what making 2 MiB ready costs).
constexpr std::size_t largemap = std::size_t{16} << 20;

}  // namespace

struct MappedFile::Region {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    int slot = -1;
    Region(const std::uint8_t* d, std::size_t n, int s) : data(d), size(n), slot(s) {}
    ~Region()
    {
        GuardSlot& g = slots[slot];
        g.end.store(0, std::memory_order_release);
        g.start.store(0, std::memory_order_release);
        ::munmap(const_cast<std::uint8_t*>(data), size);
        g.used.store(0, std::memory_order_release);
    }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
};

MappedFile::MappedFile() = default;

MappedFile::~MappedFile()
{
    unmap();
}

namespace {

// A new map of the first size bytes of fd, in a guard slot of its own.
std::unique_ptr<MappedFile::Region> newregion(int fd, std::size_t size)
{
    int slot = -1;
    for (int i = 0; i < slotcount && slot < 0; ++i) {
        int expected = 0;
        if (slots[i].used.compare_exchange_strong(expected, 1, std::memory_order_acq_rel))
            slot = i;
    }
    if (slot < 0)
        return nullptr;
    void* p = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        slots[slot].used.store(0, std::memory_order_release);
        return nullptr;
    }
    GuardSlot& s = slots[slot];
    s.faulted.store(0, std::memory_order_relaxed);
    s.start.store(reinterpret_cast<std::uintptr_t>(p), std::memory_order_release);
    s.end.store(reinterpret_cast<std::uintptr_t>(p) + size, std::memory_order_release);
    return std::make_unique<MappedFile::Region>(static_cast<const std::uint8_t*>(p), size, slot);
}

}  // namespace

bool MappedFile::map(int fd, std::size_t size, Ahead ahead)
{
    unmap();
    if (size == 0)
        return false;
    installguard();
    region_ = newregion(fd, size);
    if (region_ == nullptr)
        return false;
    data_ = region_->data;
    size_ = size;
    flag_ = &slots[region_->slot].faulted;
    readyend_ = 0;
    aheadtried_ = ahead == Ahead::Alone;
    return true;
}

void MappedFile::unmap()
{
    if (data_ == nullptr)
        return;
    ahead_.reset();  // its thread is done with the map before it goes
    aheadtried_ = false;
    region_.reset();
    data_ = nullptr;
    size_ = 0;
    flag_ = nullptr;
    readyend_ = 0;
}

void MappedFile::makeready(std::size_t offset)
{
    if (data_ == nullptr || offset >= size_)
        return;
    const std::size_t start = offset & ~(stretch - 1);
    const std::size_t end = std::min(size_, start + stretch);
    if (!aheadtried_ && size_ - start >= largemap) {
        aheadtried_ = true;
        ahead_ = ReadyAhead::start(data_, size_, start);
    }
    if (ahead_ != nullptr && ahead_->walked(start)) {
        readyend_ = end;
        return;
    }
    // Faulting the pages in one call costs a fraction of faulting them one
    // folio at a time, and lets the walk's prefetches land. A failure (the
    // file cut short, no memory) leaves the pages to fault as they would.
    ::madvise(const_cast<std::uint8_t*>(data_) + start, end - start, MADV_POPULATE_READ);
    readyend_ = end;
}

}  // namespace qc
