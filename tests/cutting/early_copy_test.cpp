// The early copy of a cut: what it copies and how far, which files it
// takes, and what a save takes of it. A save must take its bytes only where
// its own copy would have put the same bytes, whatever the copy guessed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "cutting/early_copy.h"
#include "cutting/mapped_copy.h"
#include "support/harness.h"

using namespace qctest;
using qc::EarlyCopy;

namespace {

constexpr std::int64_t mib = std::int64_t{1} << 20;

Bytes randombytes(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(random());
    return b;
}

std::int64_t sizeof_(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

Bytes slice(const Bytes& b, std::int64_t from, std::int64_t n)
{
    return Bytes(b.begin() + from, b.begin() + from + n);
}

// A large source kept mapped as the load keeps it, and an empty output.
struct EarlyRig {
    TempDir dir;
    Bytes source = randombytes(static_cast<std::size_t>(20 * mib + 12345), 3);
    std::string sourcepath = dir.write("source.mp3", source);
    std::string outputpath = dir.write("output.part", {});
    int fd = ::open(sourcepath.c_str(), O_RDONLY | O_CLOEXEC);
    qc::MappedFile load;  // the load's map, kept for the other readers of the file

    EarlyRig() { EXPECT_TRUE(load.mapforreading(fd, source.size())); }
    ~EarlyRig()
    {
        load.unmap();
        qc::MappedFile::forgetkept();
        ::close(fd);
    }
    bool start(EarlyCopy& e, std::int64_t from, std::int64_t to)
    {
        return e.start(fd, source.size(), outputpath, from, to);
    }
};

}  // namespace

// The copy never runs ahead of the walk, and once finished holds exactly
// the source's bytes it says it holds, at the place it was given.
TEST(EarlyCopy, CopiesBehindTheWalkAndHoldsTheStretchItReports)
{
    EarlyRig rig;
    EarlyCopy early;
    const std::int64_t from = 12345, to = 77;
    ASSERT_TRUE(rig.start(early, from, to));
    rig.load.readyrange(0, rig.source.size());
    early.advance(6 * mib);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::int64_t sofar = sizeof_(rig.outputpath);
    EXPECT_LE(sofar, to + 6 * mib - from) << "copied past the walk";
    EXPECT_GT(sofar, to) << "nothing copied behind the walk";

    const std::int64_t end = 15 * mib + 3;  // not on a stretch's edge
    const EarlyCopy::Stretch s = early.finish(end);
    EXPECT_EQ(s.sourcefrom, from);
    EXPECT_EQ(s.outputfrom, to);
    EXPECT_EQ(s.bytes, end - from);
    const Bytes out = readbytes(rig.outputpath);
    ASSERT_GE(static_cast<std::int64_t>(out.size()), to + s.bytes);
    EXPECT_TRUE(slice(out, to, s.bytes) == slice(rig.source, from, s.bytes));
    // a second caller gets the same answer, whatever end it names
    const EarlyCopy::Stretch again = early.finish(20 * mib);
    EXPECT_EQ(again.bytes, s.bytes);
}

// Without the load's map of that very file there is no early copy: a map
// of its own would cost more than the copy gains.
TEST(EarlyCopy, StartsOnlyThroughTheKeptMapOfTheFile)
{
    TempDir dir;
    const Bytes big = randombytes(static_cast<std::size_t>(17 * mib), 5);
    const std::string a = dir.write("a.mp3", big), b = dir.write("b.mp3", big);
    const std::string small = dir.write("small.mp3", Bytes(big.begin(), big.begin() + 8 * mib));
    const std::string out = dir.write("out.part", {});
    const int fa = ::open(a.c_str(), O_RDONLY), fb = ::open(b.c_str(), O_RDONLY), fs = ::open(small.c_str(), O_RDONLY);
    qc::MappedFile::forgetkept();
    {
        EarlyCopy none;
        EXPECT_FALSE(none.start(fa, big.size(), out, 0, 0)) << "no map is kept";
    }
    qc::MappedFile keptb, keptsmall;
    ASSERT_TRUE(keptb.mapforreading(fb, big.size()));
    {
        EarlyCopy other;
        EXPECT_FALSE(other.start(fa, big.size(), out, 0, 0)) << "the kept map is another file's";
        EarlyCopy same;
        EXPECT_TRUE(same.start(fb, big.size(), out, 0, 0));
        EarlyCopy nooutput;
        EXPECT_FALSE(nooutput.start(fb, big.size(), dir.path("missing.part"), 0, 0));
        same.cancel();
    }
    ASSERT_TRUE(keptsmall.mapforreading(fs, 8 * mib));
    {
        EarlyCopy tiny;
        EXPECT_FALSE(tiny.start(fs, 8 * mib, out, 0, 0)) << "a small file's map is not kept";
    }
    keptb.unmap();
    keptsmall.unmap();
    qc::MappedFile::forgetkept();
    ::close(fa);
    ::close(fb);
    ::close(fs);
}

// A save takes the copied bytes as written only where its plan asks for
// those very bytes at those very places; where the copy's guess was off
// (by a byte, by a page) the copy is stopped before the save writes, the
// next copier moves the whole run, and the output is the plan's either way.
TEST(EarlyCopy, ASaveTakesOnlyWhatMatchesItsOwnCopy)
{
    for (const std::int64_t shift : {0, 1, -4096}) {
        EarlyRig rig;
        const std::int64_t from = 9000, to = 5000;
        EarlyCopy early;
        ASSERT_TRUE(rig.start(early, from, to));
        early.advance(static_cast<std::int64_t>(rig.source.size()));

        qc::BinaryFile source, output;
        ASSERT_TRUE(source.openexisting(rig.sourcepath));
        ASSERT_EQ(qc::openoutput(output, rig.outputpath, &early), qc::OutputOpen::Adopted);
        std::int64_t handedon = 0;
        const auto counting = [&](int in, off_t* inoff, int out, off_t* outoff, std::size_t len) {
            const ssize_t r = qc::mappedcopyrange(in, inoff, out, outoff, len);
            handedon += r > 0 ? r : 0;
            return r;
        };
        // the save's plan: bytes of its own, then the run from `from` at to + shift
        const std::int64_t at = to + shift, n = 18 * mib;
        ASSERT_GE(at, 0);
        qc::OutputPlan plan;
        plan.addliteral(randombytes(static_cast<std::size_t>(at), 9));
        plan.addsource({from + 1, from + 1 + n});
        const Bytes& head = plan.literals[0];
        qc::settle(early, plan, 65536);
        ASSERT_EQ(output.write(head.data(), head.size()), head.size());
        ASSERT_EQ(output.copyfrom(source, from, n, qc::earlycopier(early, counting)), n);
        early.cancel();
        ASSERT_TRUE(output.truncatehere());
        output.close();
        EXPECT_EQ(output.ioresult(), 0);
        EXPECT_EQ(handedon, shift == 0 ? 0 : n) << "shift " << shift;
        const Bytes out = readbytes(rig.outputpath);
        ASSERT_EQ(static_cast<std::int64_t>(out.size()), at + n) << "shift " << shift;
        EXPECT_TRUE(slice(out, 0, at) == head) << "shift " << shift;
        EXPECT_TRUE(slice(out, at, n) == slice(rig.source, from, n)) << "shift " << shift;
        source.close();
        source.ioresult();
    }
}

// A piece of the save before the stretch (a large tag) neither ends the
// copy early nor is taken from it.
TEST(EarlyCopy, APieceBeforeTheStretchLeavesTheCopyGoing)
{
    EarlyRig rig;
    EarlyCopy early;
    const std::int64_t tag = 200000;
    ASSERT_TRUE(rig.start(early, tag, tag));
    early.advance(static_cast<std::int64_t>(rig.source.size()));
    qc::BinaryFile source, output;
    ASSERT_TRUE(source.openexisting(rig.sourcepath));
    ASSERT_EQ(qc::openoutput(output, rig.outputpath, &early), qc::OutputOpen::Adopted);
    const std::int64_t rest = static_cast<std::int64_t>(rig.source.size()) - tag;
    qc::CopyPlan plan;
    plan.pieces = {{1, tag + 1}, {tag + 1, tag + 1 + rest}};
    qc::settle(early, plan, 65536);
    const auto copier = qc::earlycopier(early, qc::mappedcopyrange);
    ASSERT_EQ(output.copyfrom(source, 0, tag, copier), tag);
    ASSERT_EQ(output.copyfrom(source, tag, rest, copier), rest);
    output.close();
    EXPECT_EQ(output.ioresult(), 0);
    EXPECT_EQ(early.finish(0).bytes, rest) << "the tag's piece stopped the copy";
    EXPECT_TRUE(readbytes(rig.outputpath) == rig.source);
    source.close();
    source.ioresult();
}

// The save writes over the copy's file only while the name holds that
// file; a file put under the name since is made anew, its bytes not taken
// for the copy's.
TEST(EarlyCopy, TheOutputIsAdoptedOnlyWhileTheNameHoldsTheCopysFile)
{
    EarlyRig rig;
    EarlyCopy early;
    ASSERT_TRUE(rig.start(early, 0, 0));
    early.finish(4 * mib);
    {
        qc::BinaryFile output;
        EXPECT_EQ(qc::openoutput(output, rig.outputpath, &early), qc::OutputOpen::Adopted);
        EXPECT_EQ(output.size(), 4 * mib);
        output.close();
    }
    {
        qc::BinaryFile output;
        EXPECT_EQ(qc::openoutput(output, rig.outputpath, nullptr), qc::OutputOpen::Created);
        EXPECT_EQ(output.size(), 0) << "without the copy the output starts empty";
        output.close();
    }
    // another file under the name (the first was truncated by the create above,
    // so put a new one there)
    ASSERT_EQ(::unlink(rig.outputpath.c_str()), 0);
    rig.dir.write("output.part", randombytes(1000, 1));
    qc::BinaryFile output;
    EXPECT_EQ(qc::openoutput(output, rig.outputpath, &early), qc::OutputOpen::Created);
    EXPECT_EQ(output.size(), 0);
    output.close();
    output.ioresult();
}

// A source cut short under the copy: what it reports holding is the
// source's own bytes, never the zeros of a vanished end.
TEST(EarlyCopy, ASourceCutShortLeavesOnlyItsOwnBytesReported)
{
    EarlyRig rig;
    EarlyCopy early;
    ASSERT_TRUE(rig.start(early, 100, 0));
    ASSERT_EQ(::truncate(rig.sourcepath.c_str(), 7 * mib), 0);
    const EarlyCopy::Stretch s = early.finish(static_cast<std::int64_t>(rig.source.size()));
    EXPECT_LE(s.bytes, 7 * mib - 100);
    const Bytes out = readbytes(rig.outputpath);
    ASSERT_GE(static_cast<std::int64_t>(out.size()), s.bytes);
    EXPECT_TRUE(slice(out, 0, s.bytes) == slice(rig.source, 100, s.bytes));
}
