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
