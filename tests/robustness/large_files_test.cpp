// Files at the limits of the record: the most frames a load accepts, and a
// file too large for 32-bit positions (sparse, so it costs no disk).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "hostile_rig.h"
#include "cutting/copy_plan.h"
#include "cutting/save_report.h"
#include "stream/mapped_file.h"
#include "support/open_files.h"

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

void writeframes(const std::string& path, std::int64_t count, const Bytes& one = tinyframe())
{
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

// The record has no capacity: a file of more frames than the old fixed
// arrays held (500,272) loads whole, and so does a file of many more.
TEST(LargeFiles, AFileOfMoreThanHalfAMillionFramesLoadsWhole)
{
    TempDir dir;
    const std::string path = dir.path("long.mp3");
    HostileRig rig(Answers::Yes);
    writeframes(path, 1200000);  // 115 MB, 16 hours at 32 kbps and 48 kHz
    ASSERT_TRUE(rig.load(path));
    EXPECT_EQ(rig.file.framecount, 1200000);
    EXPECT_EQ(rig.file.ratecount[1], 1200000);
    EXPECT_EQ(rig.file.framepos[1199999], std::int64_t{1199999} * 96 + 1);
    EXPECT_EQ(rig.form.infolabel.caption(), "48 KHz, 32 kbps, 480:0, mono");
    expectconsistentload(rig.file, std::int64_t{1200000} * 96, path);
}

// The largest frames (320 kbps at 32 kHz), enough of them to reach past
// 2 GiB: every position beyond 32 bits is recorded as it is.
Bytes largeframe()
{
    Bytes f(1440, 0);
    f[0] = 0xFF;
    f[1] = 0xFB;
    f[2] = 0xE8;  // 320 kbps, 32 kHz, no padding
    f[3] = 0xC0;  // mono
    return f;
}

TEST(LargeFiles, AFileOfMoreThanTwoGigabytesLoadsAndItsFarEndIsCut)
{
    TempDir dir;
    const std::string path = dir.path("huge.mp3");
    constexpr std::int64_t count = 1500000;  // 2.16 GB
    writeframes(path, count, largeframe());
    HostileRig rig(Answers::Yes);
    ASSERT_TRUE(rig.load(path));
    EXPECT_GT(rig.file.filesize, std::int64_t{1} << 31);
    EXPECT_EQ(rig.file.framecount, count);
    EXPECT_EQ(rig.file.framepos[count - 1], (count - 1) * 1440 + 1);
    EXPECT_FALSE(qctest::openinprocess(path));
    expectconsistentload(rig.file, count * 1440, path);

    // keep only the last three frames: each byte comes from beyond 2 GiB
    qc::LoadedFile& f = rig.file;
    qc::SaveChoices c;
    c.cuts[0] = count - 3;
    c.keep = {true, true, true};
    const std::optional<qc::CopyPlan> plan = qc::makesaveplan(f, c);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->pieces[0].from, (count - 3) * 1440 + 1);
    EXPECT_EQ(plan->bytes(), 3 * 1440);
    qc::BinaryFile output;
    std::vector<std::uint8_t> buffer(qc::copybuffersize);
    const std::string out = dir.path("end.mp3");
    const qc::SaveReport r = qc::copyout(f, c, out, output, buffer);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.frames, 3);
    fs::remove(path);
    const Bytes written = qctest::readbytes(out);
    EXPECT_EQ(written, largeframe() + largeframe() + largeframe());
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
    TempDir dir;
    const std::string path = dir.path("shrinking.mp3");
    constexpr std::int64_t count = 200000;  // 19.2 MB
    writeframes(path, count);
    for (std::int64_t cutto : {std::int64_t{0}, std::int64_t{100000}, std::int64_t{2500000},
                               std::int64_t{12000000}}) {
        SCOPED_TRACE(cutto);
        HostileRig rig(Answers::Yes);
        rig.scanner.map = mapped;
        rig.pump.count = 0;
        bool wasmapped = false;
        rig.pump.hook = [&] {
            // the progress after frame 10,241, a megabyte into the file
            if (rig.pump.count == 41) {
                wasmapped = qctest::mappedinprocess(path);
                fs::resize_file(path, static_cast<std::uintmax_t>(cutto));
            }
        };
        EXPECT_FALSE(rig.load(path));
        EXPECT_EQ(wasmapped, mapped);
        EXPECT_EQ(rig.loaderror(), "Disk or unknown error.");
        EXPECT_FALSE(rig.file.loadok);
        EXPECT_FALSE(qctest::openinprocess(path));
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
    windowed.scanner.map = false;
    ASSERT_TRUE(windowed.load(path));
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
