// The save's copier: a run at another offset within the page is written
// from a map of the source; what a shrunk source or a failing output does.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "cutting/mapped_copy.h"
#include "support/harness.h"

namespace qctest {

namespace {

// bytes that differ from their neighbours and from the next page's
Bytes patternbytes(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
    return b;
}

// Copies [from, from + n) of source to the output at to, calling the copier
// until it has all or stops; returns what it copied.
std::int64_t copyall(int in, int out, off_t from, off_t to, std::size_t n)
{
    std::int64_t done = 0;
    while (done < static_cast<std::int64_t>(n)) {
        ssize_t r = qc::mappedcopyrange(in, &from, out, &to, n - static_cast<std::size_t>(done));
        if (r <= 0)
            return r < 0 ? -1 : done;
        done += r;
    }
    return done;
}

// The source open for reading and a new, empty output.
struct CopyEnds {
    int in = -1;
    int out = -1;
    CopyEnds(const std::string& source, const std::string& target)
    {
        std::filesystem::remove(target);
        in = ::open(source.c_str(), O_RDONLY);
        out = ::open(target.c_str(), O_RDWR | O_CREAT, 0644);
    }
    ~CopyEnds() { close(); }
    void close()
    {
        for (int* fd : {&in, &out}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }
};

}  // namespace

TEST(MappedCopy, RunsAtAnyOffsetWithinThePageCopyEveryByte)
{
    TempDir dir;
    // long enough for a helper thread to make the map ready ahead of the copy
    const Bytes bytes = patternbytes((17u << 20) + 20000);
    const std::string source = dir.write("source.bin", bytes);
    for (auto [from, to] : {std::pair<off_t, off_t>{417, 0}, {4096 + 17, 17}, {8191, 3}}) {
        SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
        CopyEnds ends(source, dir.path("out.bin"));
        ASSERT_GE(ends.in, 0);
        ASSERT_GE(ends.out, 0);
        const std::size_t n = bytes.size() - static_cast<std::size_t>(from) - 100;
        EXPECT_EQ(copyall(ends.in, ends.out, from, to, n), static_cast<std::int64_t>(n));
        ends.close();
        const Bytes got = readbytes(dir.path("out.bin"));
        ASSERT_EQ(got.size(), static_cast<std::size_t>(to) + n);
        EXPECT_EQ(std::memcmp(got.data() + to, bytes.data() + from, n), 0);
    }
}

TEST(MappedCopy, AShrunkSourceStopsTheCopyAtItsEndAndAFailingOutputReportsItsError)
{
    TempDir dir;
    const Bytes bytes = patternbytes(3u << 20);
    const std::string source = dir.write("source.bin", bytes);
    const std::string target = dir.path("out.bin");
    int in = ::open(source.c_str(), O_RDONLY);
    int out = ::open(target.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(in, 0);
    ASSERT_GE(out, 0);
    // cut short after the copy was planned: what is still there is copied,
    // the rest is left to the caller, without a signal or an error
    std::filesystem::resize_file(source, 1u << 20);
    EXPECT_EQ(copyall(in, out, 417, 0, bytes.size() - 417), (1 << 20) - 417);
    off_t from = (2 << 20) + 1, to = 0;
    EXPECT_EQ(qc::mappedcopyrange(in, &from, out, &to, 1000), 0);
    EXPECT_EQ(from, (2 << 20) + 1);
    ::close(out);

    // an output not open for writing fails as copy_file_range would
    out = ::open(target.c_str(), O_RDONLY);
    from = 417;
    to = 0;
    errno = 0;
    EXPECT_EQ(qc::mappedcopyrange(in, &from, out, &to, 5000), -1);
    EXPECT_EQ(errno, EBADF);
    ::close(out);
    ::close(in);
}

// Cut short while a long run is being copied, with a helper thread making the
// map ready ahead: whenever the cut falls, what was written is the source's
// own bytes up to where the copy stopped, and no signal ends the process.
TEST(MappedCopy, ASourceCutShortDuringALongCopyLeavesOnlyItsOwnBytesWritten)
{
    TempDir dir;
    const Bytes bytes = patternbytes(24u << 20);
    const std::string source = dir.write("source.bin", bytes);
    for (int delayus : {0, 300, 1500, 5000}) {
        SCOPED_TRACE(delayus);
        dir.write("source.bin", bytes);
        CopyEnds ends(source, dir.path("out.bin"));
        ASSERT_GE(ends.in, 0);
        ASSERT_GE(ends.out, 0);
        std::thread cutter([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(delayus));
            std::filesystem::resize_file(source, 6u << 20);
        });
        off_t from = 417, to = 0;
        const ssize_t r = qc::mappedcopyrange(ends.in, &from, ends.out, &to, bytes.size() - 417);
        cutter.join();
        ends.close();
        ASSERT_GE(r, 0);
        EXPECT_EQ(from, 417 + r);
        const Bytes got = readbytes(dir.path("out.bin"));
        ASSERT_EQ(got.size(), static_cast<std::size_t>(r));
        EXPECT_EQ(std::memcmp(got.data(), bytes.data() + 417, got.size()), 0);
    }
}

}  // namespace qctest
