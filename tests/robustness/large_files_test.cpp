// Files at the limits of the record: the most frames a load accepts, and a
// file too large for 32-bit positions (sparse, so it costs no disk).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "hostile_rig.h"
#include "stream/mapped_file.h"
#include "support/engine_switches.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

// The smallest frame there is: 32 kbps at 48 kHz, 96 bytes, mono.
Bytes tinyframe()
{
    Bytes f(96, 0);
    f[0] = 0xFF;
    f[1] = 0xFB;
    f[2] = 0x14;
    f[3] = 0xC0;
    return f;
}

void writeframes(const std::string& path, std::int64_t count)
{
    const Bytes one = tinyframe();
    Bytes block;
    for (int i = 0; i < 4096; ++i)
        block.insert(block.end(), one.begin(), one.end());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    for (std::int64_t written = 0; written < count;) {
        std::int64_t n = std::min<std::int64_t>(4096, count - written);
        auto bytes = static_cast<std::size_t>(n) * one.size();
        ASSERT_EQ(::write(fd, block.data(), bytes), static_cast<ssize_t>(bytes));
        written += n;
    }
    ::close(fd);
}

TEST(LargeFiles, TheFrameLimitIsTestedEvery256Frames)
{
    TempDir dir;
    const std::string path = dir.path("limit.mp3");
    HostileRig rig(Answers::Yes);

    // 500,225 frames: the limit is met when the 500,225th frame is recorded
    writeframes(path, 500225);
    EXPECT_FALSE(rig.load(path));
    EXPECT_EQ(rig.loaderror(), "Maximum of 500,000 frames reached.");
    EXPECT_EQ(rig.file.framecount, 500225);

    // one frame fewer loads whole: the limit is only tested at 1, 257, 513, ...
    fs::resize_file(path, 500224 * 96);
    ASSERT_TRUE(rig.load(path));
    EXPECT_EQ(rig.file.framecount, 500224);
    EXPECT_EQ(rig.file.ratecount[1], 500224);
    EXPECT_EQ(rig.file.framepos[500223], 500223 * 96 + 1);
    EXPECT_EQ(rig.form.infolabel.caption(), "48 KHz, 32 kbps, 200:05.4, mono");
    expectconsistentload(rig.file, 500224 * 96, path);
}

TEST(LargeFiles, TwoGigabytesAreRefusedBeforeAnyPositionIsRead)
{
    TempDir dir;
    const std::string path = dir.path("huge.mp3");
    const Bytes head = tinyframe();
    dir.write("huge.mp3", head + head + head);
    HostileRig rig(Answers::Yes);

    // 2 GiB: one byte too many for a signed 32-bit position
    fs::resize_file(path, std::uintmax_t{1} << 31);
    EXPECT_EQ(qc::filesizebyname(path), std::int64_t{1} << 31);
    EXPECT_FALSE(rig.load(path));
    EXPECT_EQ(rig.loaderror(), "File of 2 GB or more - too large to process.");
    EXPECT_FALSE(rig.file.sourcefile.isopen());

    // one byte less is within reach: three frames, then zeros that the
    // walk does not take for frames and that are too many to be trailing data
    fs::resize_file(path, (std::uintmax_t{1} << 31) - 1);
    EXPECT_FALSE(rig.load(path));
    EXPECT_EQ(rig.loaderror(), "Improper frame size");
    EXPECT_EQ(rig.file.framecount, 3);
}

}  // namespace

// The walk reads from a window of up to 256 KiB (or from a map of the file):
// a file cut short while it is walked ends the load with the disk error once
// the walk passes what was read before the cut, however far ahead that was.
// The map's pages past the new end read as zeros until the next look. The
// file is large enough for a helper thread to be making the map ready ahead
// of the walk when it is cut (and to have made ready what is cut off).
void cutshortduringtheload(bool mapped)
{
    qctest::MapsSetting maps(mapped);
    TempDir dir;
    const std::string path = dir.path("shrinking.mp3");
    constexpr std::int64_t count = 200000;  // 19.2 MB
    writeframes(path, count);
    for (std::int64_t cutto : {std::int64_t{0}, std::int64_t{100000}, std::int64_t{2500000},
                               std::int64_t{12000000}}) {
        SCOPED_TRACE(cutto);
        HostileRig rig(Answers::Yes);
        rig.pump.count = 0;
        bool wasmapped = false;
        rig.pump.hook = [&] {
            // the progress after frame 10,241, a megabyte into the file
            if (rig.pump.count == 41) {
                wasmapped = rig.file.sourcefile.mapped();
                fs::resize_file(path, static_cast<std::uintmax_t>(cutto));
            }
        };
        EXPECT_FALSE(rig.load(path));
        EXPECT_EQ(wasmapped, mapped);
        EXPECT_EQ(rig.loaderror(), "Disk or unknown error.");
        EXPECT_FALSE(rig.file.loadok);
        EXPECT_FALSE(rig.file.sourcefile.isopen());
        EXPECT_LT(rig.file.framecount, count);
        rig.pump.hook = nullptr;
        writeframes(path, count);
    }
}

TEST(LargeFiles, AFileCutShortDuringTheLoadFailsItWithTheDiskError)
{
    cutshortduringtheload(false);
}

TEST(LargeFiles, AFileCutShortUnderItsMapDuringTheLoadFailsItWithTheDiskError)
{
    cutshortduringtheload(true);
}

// The whole load through the map agrees with the load through the window.
TEST(LargeFiles, AMappedLoadRecordsWhatTheWindowedLoadRecords)
{
    TempDir dir;
    const std::string path = dir.path("frames.mp3");
    writeframes(path, 30000);
    HostileRig windowed(Answers::Yes);
    {
        qctest::MapsSetting off(false);
        ASSERT_TRUE(windowed.load(path));
    }
    HostileRig mapped(Answers::Yes);
    ASSERT_TRUE(mapped.load(path));
    EXPECT_EQ(mapped.file.framecount, windowed.file.framecount);
    EXPECT_EQ(mapped.form.infolabel.caption(), windowed.form.infolabel.caption());
    for (int i = 0; i < windowed.file.framecount; i += 997) {
        EXPECT_EQ(mapped.file.framepos[i], windowed.file.framepos[i]);
        EXPECT_EQ(mapped.file.framegain[i], windowed.file.framegain[i]);
    }
    expectconsistentload(mapped.file, 30000 * 96, path);
}
