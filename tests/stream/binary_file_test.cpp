#include <gtest/gtest.h>
#include <sys/stat.h>

#include "stream/binary_file.h"
#include "stream/frame_gain.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;

TEST(BinaryFile, ReadPastTheEndFailsAndTheErrorStaysPendingUntilQueried)
{
    TempDir dir;
    std::string p = dir.write("ten", filler(10, 'a'));
    BinaryFile f;
    ASSERT_TRUE(f.openexisting(p));
    EXPECT_EQ(f.size(), 10);
    std::uint8_t buf[16];
    f.seek(8);
    EXPECT_EQ(f.read(buf, 2), 2u);
    EXPECT_EQ(f.ioresult(), 0);
    f.seek(9);
    EXPECT_EQ(f.read(buf, 2), 1u);
    // later operations are skipped while the failure is pending
    f.seek(0);
    EXPECT_EQ(f.read(buf, 1), 0u);
    EXPECT_NE(f.ioresult(), 0);
    EXPECT_EQ(f.ioresult(), 0);
    f.seek(0);
    EXPECT_EQ(f.read(buf, 10), 10u);
    EXPECT_EQ(f.ioresult(), 0);
    f.close();
    EXPECT_EQ(f.ioresult(), 0);
}

TEST(BinaryFile, AFileThatShrinksUnderTheReaderFailsTheNextReadBeyondIt)
{
    TempDir dir;
    std::string p = dir.write("big", filler(300000, 0x11));
    BinaryFile f;
    ASSERT_TRUE(f.openexisting(p));
    std::uint8_t b[2];
    f.seek(0);
    f.read(b, 2);
    ASSERT_EQ(f.ioresult(), 0);
    ASSERT_EQ(::truncate(p.c_str(), 1000), 0);
    f.seek(200000);
    f.read(b, 2);
    EXPECT_NE(f.ioresult(), 0);
}

TEST(BinaryFile, ReadOnlyAndMissingFilesCannotBeOpenedForReadingAndWriting)
{
    TempDir dir;
    std::string p = dir.write("ro", filler(4));
    ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
    BinaryFile f;
    EXPECT_FALSE(f.openexisting(p));
    EXPECT_NE(f.ioresult(), 0);
    EXPECT_FALSE(f.openexisting(dir.path("missing")));
    EXPECT_NE(f.ioresult(), 0);
    EXPECT_FALSE(f.isopen());
}

TEST(BinaryFile, WritesGatheredAndPositionedReadBackExactly)
{
    TempDir dir;
    std::string p = dir.path("out");
    BinaryFile f;
    ASSERT_TRUE(f.create(p));
    Bytes big(200000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    f.write(big.data(), 3);
    f.write(big.data() + 3, big.size() - 3);
    std::uint8_t tail = 0x5A;
    f.write(&tail, 1);
    EXPECT_EQ(f.size(), 200001);
    f.seek(123456);
    EXPECT_EQ(f.readbyte(), big[123456]);
    ASSERT_TRUE(f.flush());
    f.close();
    EXPECT_EQ(f.ioresult(), 0);
    Bytes back = readbytes(p);
    ASSERT_EQ(back.size(), 200001u);
    EXPECT_TRUE(std::equal(big.begin(), big.end(), back.begin()));
    EXPECT_EQ(back.back(), 0x5A);
}

TEST(BinaryFile, GainOfATruncatedFrameLatchesTheFailureForTheNextCheckedRead)
{
    TempDir dir;
    Bytes one = frame({.mode = 0x40, .gain = 150});
    one.resize(20);  // the side information is cut off
    std::string p = dir.write("cut", one);
    BinaryFile f;
    ASSERT_TRUE(f.openexisting(p));
    f.seek(3);
    std::uint8_t mode = 0;
    extractgain(f, 4, mode);
    EXPECT_EQ(mode, 0x40);
    EXPECT_NE(f.ioresult(), 0);

    std::string whole = dir.write("whole", frame({.mode = 0xC0, .crc = true, .gain = 77}));
    ASSERT_TRUE(f.openexisting(whole));
    f.seek(3);
    EXPECT_EQ(extractgain(f, 6, mode), 77);
    EXPECT_EQ(mode, 0xC0);
    EXPECT_EQ(f.position(), 3);
    EXPECT_EQ(f.ioresult(), 0);
}

TEST(BinaryFile, ViewShowsTheFileBytesInPlaceAndLeavesFailuresToTheRead)
{
    TempDir dir;
    Bytes bytes(3 * 65536 + 10);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + i / 251);
    std::string p = dir.write("bytes", bytes);
    BinaryFile f;
    ASSERT_TRUE(f.openexisting(p));
    // walking on through the file, across the ends of growing fills
    for (std::int64_t at : {0, 65535, 65536 * 2 - 1, 65536 * 3 - 30, 5}) {
        SCOPED_TRACE(at);
        const std::uint8_t* v = f.view(at, 32);
        ASSERT_NE(v, nullptr);
        EXPECT_TRUE(std::equal(v, v + 32, bytes.begin() + at));
        EXPECT_EQ(f.position(), at + 32);
    }
    // the last bytes, and one too many: nothing is pending, the read fails
    ASSERT_NE(f.view(static_cast<std::int64_t>(bytes.size()) - 2, 2), nullptr);
    EXPECT_EQ(f.view(static_cast<std::int64_t>(bytes.size()) - 2, 3), nullptr);
    EXPECT_EQ(f.ioresult(), 0);
    f.seek(static_cast<std::int64_t>(bytes.size()) - 2);
    std::uint8_t b[3];
    EXPECT_EQ(f.read(b, 3), 2u);
    EXPECT_EQ(f.ioresult(), BinaryFile::eof_error);

    // a pending failure or gathered writes are the read's business
    f.seek(static_cast<std::int64_t>(bytes.size()));
    f.read(b, 1);
    EXPECT_EQ(f.view(0, 1), nullptr);
    EXPECT_NE(f.ioresult(), 0);
    f.seek(0);
    f.write(b, 1);
    EXPECT_EQ(f.view(0, 1), nullptr);
    EXPECT_EQ(f.ioresult(), 0);
}

TEST(BinaryFile, AViewBeyondTheEndOfAShrunkFileFailsAtTheRead)
{
    TempDir dir;
    std::string p = dir.write("big", filler(3000000, 0x22));
    BinaryFile f;
    f.setmapping(false);
    ASSERT_TRUE(f.openexisting(p));
    // a walk that has grown the window to its full size
    for (std::int64_t at = 0; at < 2000000; at += 400)
        ASSERT_NE(f.view(at, 32), nullptr) << at;
    ASSERT_EQ(::truncate(p.c_str(), 1000), 0);
    std::int64_t at = 2000000;
    while (f.view(at, 32) != nullptr)
        at += 400;
    EXPECT_LE(at, 2000000 + static_cast<std::int64_t>(BinaryFile::windowsize));
    f.seek(at);
    std::uint8_t b[32];
    f.read(b, 32);
    EXPECT_EQ(f.ioresult(), BinaryFile::eof_error);
}

namespace {

// A copy_file_range that moves at most `each` bytes per call through
// ordinary reads and writes, then answers `err` (0: copies nothing) once
// `allowed` bytes have gone.
struct FakeCopier {
    std::int64_t allowed = 0;
    std::size_t each = 1 << 20;
    int err = 0;
    std::int64_t moved = 0;
    int calls = 0;

    BinaryFile::RangeCopier fn()
    {
        return [this](int in, off_t* inoff, int out, off_t* outoff, std::size_t len) -> ssize_t {
            ++calls;
            std::size_t n = std::min<std::int64_t>({static_cast<std::int64_t>(len),
                                                    static_cast<std::int64_t>(each), allowed - moved});
            if (n == 0) {
                errno = err;
                return err == 0 ? 0 : -1;
            }
            Bytes buf(n);
            ssize_t r = ::pread(in, buf.data(), n, *inoff);
            if (r <= 0)
                return r;
            ssize_t w = ::pwrite(out, buf.data(), static_cast<std::size_t>(r), *outoff);
            moved += w;
            return w;
        };
    }
};

}  // namespace

TEST(BinaryFile, KernelCopyRefusedPartlyOrWhollyLeavesTheRestToTheCaller)
{
    TempDir dir;
    Bytes bytes(500000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i ^ (i >> 9));
    std::string src = dir.write("src", bytes);
    for (int err : {EXDEV, EINVAL, ENOSYS, EOPNOTSUPP, 0}) {
        for (std::int64_t allowed : {0, 123457}) {
            SCOPED_TRACE(std::to_string(err) + " after " + std::to_string(allowed));
            BinaryFile in, out;
            ASSERT_TRUE(in.openexisting(src));
            ASSERT_TRUE(out.create(dir.path("out")));
            std::uint8_t lead[3] = {1, 2, 3};
            out.write(lead, 3);  // gathered, written out before the copy
            FakeCopier copier{allowed, 50000, err};
            EXPECT_EQ(out.copyfrom(in, 1000, 400000, copier.fn()), allowed);
            EXPECT_EQ(out.position(), 3 + allowed);
            EXPECT_EQ(in.position(), 1000 + allowed);
            EXPECT_EQ(in.ioresult(), 0);
            EXPECT_EQ(out.ioresult(), 0);
            out.close();
            Bytes got = readbytes(dir.path("out"));
            ASSERT_EQ(got.size(), static_cast<std::size_t>(3 + allowed));
            EXPECT_TRUE(std::equal(got.begin() + 3, got.end(), bytes.begin() + 1000));
        }
    }
}

TEST(BinaryFile, KernelCopyFailuresOfTheTargetStayPendingAndAShortSourceIsNotCopied)
{
    TempDir dir;
    std::string src = dir.write("src", filler(300000, 0x33));
    BinaryFile in, out;
    ASSERT_TRUE(in.openexisting(src));
    ASSERT_TRUE(out.create(dir.path("out")));
    for (int err : {ENOSPC, EFBIG, EIO}) {
        FakeCopier full{70000, 1 << 20, err};
        EXPECT_EQ(out.copyfrom(in, 0, 200000, full.fn()), -1);
        EXPECT_EQ(out.ioresult(), err);
    }
    // a stretch beyond the source's end is not begun
    FakeCopier copier{1 << 30};
    EXPECT_EQ(out.copyfrom(in, 200000, 100001, copier.fn()), 0);
    EXPECT_EQ(copier.calls, 0);
    EXPECT_EQ(out.copyfrom(in, 200000, 100000, copier.fn()), 100000);
    EXPECT_EQ(in.ioresult(), 0);
    EXPECT_EQ(out.ioresult(), 0);
}
