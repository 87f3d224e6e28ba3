// The helper that makes a map's page tables ready ahead of a reader: how far
// it goes, when it goes on, and that it stops when told. What is ready is
// read from /proc/self/pagemap, whose top bit says whether a page of this
// process is mapped in its page tables.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "stream/ready_ahead.h"
#include "support/harness.h"

using namespace qctest;
using qc::ReadyAhead;

namespace {

constexpr std::size_t stretch = ReadyAhead::stretch;

// Whether the page at p has its page-table entry filled in.
bool present(const void* p)
{
    static const long pagesize = ::sysconf(_SC_PAGESIZE);
    const int fd = ::open("/proc/self/pagemap", O_RDONLY);
    if (fd < 0)
        return false;
    std::uint64_t entry = 0;
    const auto at = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(p) / static_cast<std::uintptr_t>(pagesize) * 8);
    const bool read = ::pread(fd, &entry, sizeof entry, at) == static_cast<ssize_t>(sizeof entry);
    ::close(fd);
    return read && (entry >> 63) != 0;
}

// Waits up to ten seconds for the last page of stretch k to be mapped.
bool cometo(const std::uint8_t* map, std::size_t k)
{
    for (int i = 0; i < 10000; ++i) {
        if (present(map + (k + 1) * stretch - 1))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// A file of holes: its pages come from the page cache as zeros, no disk.
struct SparseMap {
    TempDir dir;
    std::size_t size;
    const std::uint8_t* data = nullptr;
    explicit SparseMap(std::size_t n) : size(n)
    {
        const std::string path = dir.path("sparse.bin");
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(n)) != 0)
            return;
        void* p = ::mmap(nullptr, n, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        if (p != MAP_FAILED)
            data = static_cast<const std::uint8_t*>(p);
    }
    ~SparseMap()
    {
        if (data != nullptr)
            ::munmap(const_cast<std::uint8_t*>(data), size);
    }
};

}  // namespace

// Whether stretch k is still unmapped a while after the helper was told
// what it goes by: a helper that went too far has done so by then.
bool leftalone(const std::uint8_t* map, std::size_t k)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !present(map + k * stretch) && !present(map + (k + 1) * stretch - 1);
}

// The helper goes 32 MiB (64 stretches) ahead of the reader and no further,
// on again once the reader is 16 MiB short of it, and leaves the stretches
// of the page table the reader starts in to the reader.
TEST(ReadyAhead, GoesAFixedWayAheadOfTheReaderAndOnWhenTheReaderComesNear)
{
    SparseMap map(200 * stretch);
    ASSERT_NE(map.data, nullptr);
    ASSERT_FALSE(present(map.data + 70 * stretch));
    auto ahead = ReadyAhead::start(map.data, map.size, 0);
    if (ahead == nullptr)
        GTEST_SKIP() << "no second processor for the helper";

    ASSERT_TRUE(cometo(map.data, 63));
    EXPECT_TRUE(leftalone(map.data, 64));
    EXPECT_FALSE(ahead->walked(0));
    EXPECT_FALSE(ahead->walked(stretch + 5));
    EXPECT_TRUE(ahead->walked(4 * stretch));

    // short of the mark the helper waits; at it, it goes 32 MiB on again
    EXPECT_TRUE(ahead->walked(31 * stretch));
    EXPECT_TRUE(leftalone(map.data, 64));
    EXPECT_TRUE(ahead->walked(32 * stretch));
    ASSERT_TRUE(cometo(map.data, 95));
    EXPECT_TRUE(leftalone(map.data, 96));

    // a reader that jumps past the helper makes its own stretches ready: the
    // helper goes on from the page table after the next one (stretch 156)
    EXPECT_FALSE(ahead->walked(150 * stretch));
    ASSERT_TRUE(cometo(map.data, 199));
    for (std::size_t k : {96, 120, 151, 155})
        EXPECT_FALSE(present(map.data + k * stretch)) << k;
    EXPECT_TRUE(present(map.data + 156 * stretch));
    EXPECT_TRUE(ahead->walked(156 * stretch));
    EXPECT_TRUE(ahead->walked(199 * stretch));
    EXPECT_FALSE(ahead->walked(200 * stretch));  // past the end: nothing there
}

// Started for a reader far into the map, the helper begins beyond it as for
// a reader that overtook it; stopped while it waits, it ends at once.
TEST(ReadyAhead, BeginsBeyondAReaderFarIntoTheMapAndStopsWhenTold)
{
    SparseMap map(250 * stretch);
    ASSERT_NE(map.data, nullptr);
    auto ahead = ReadyAhead::start(map.data, map.size, 101 * stretch);
    if (ahead == nullptr)
        GTEST_SKIP() << "no second processor for the helper";
    // up to 164: a large folio in the page cache may map the rest of its
    // page table's stretches along with it, but not the next table's
    ASSERT_TRUE(cometo(map.data, 164));
    EXPECT_TRUE(leftalone(map.data, 168));
    EXPECT_FALSE(ahead->walked(101 * stretch));
    for (std::size_t k = 102; k < 133; ++k)  // short of the mark: the helper sleeps on
        EXPECT_EQ(ahead->walked(k * stretch), k >= 104) << k;

    const auto before = std::chrono::steady_clock::now();
    ahead.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_TRUE(leftalone(map.data, 168));
}

// A reader held to one processor (taskset, a container's share) gets no
// helper: it would only take turns with the reader.
TEST(ReadyAhead, NoHelperForAReaderHeldToOneProcessor)
{
    SparseMap map(64 * stretch);
    ASSERT_NE(map.data, nullptr);
    bool held = false;
    bool started = false;
    std::thread reader([&] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(std::max(::sched_getcpu(), 0), &one);
        held = ::sched_setaffinity(0, sizeof one, &one) == 0;
        started = ReadyAhead::start(map.data, map.size, 0) != nullptr;
    });
    reader.join();
    if (!held)
        GTEST_SKIP() << "the thread could not be held to one processor";
    EXPECT_FALSE(started);
}
