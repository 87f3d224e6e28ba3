// Faults during a save: the disk fills up (a child process whose files may
// not grow past a limit, so that writes fail with EFBIG), and the source
// disappears or shrinks between its load and the copy. The user is told, the
// source keeps every byte, and a replacement leaves no temporary file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "cutting/writer_fixture.h"
#include "support/open_files.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

const std::vector<Bytes> frames40 = distinctframes(40);
const Bytes original = id3v2tag(300) + join(frames40, 0, 40) + id3v1tag("faults");

// Runs fn in a child process that may not write past limit bytes into any
// file; a write beyond fails instead of killing the process. Returns fn's
// result, or 100 + the signal that ended the child.
int withfilelimit(rlim_t limit, const std::function<int()>& fn)
{
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(99);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// The save as the child sees it: 0 when the user was told of the failure
// and nothing claims success.
int failedsave(SaveRig& rig, const std::string& target)
{
    rig.loader.box.clear();
    rig.loader.box.answer(ui::idok);
    rig.dialogs.choose(target);
    rig.writer.savebutClick();
    if (rig.errors() != std::vector<std::string>{"Disk or  unknown error."})
        return 1;
    if (rig.writer.saveok || rig.loader.file.busy)
        return 2;
    if (qctest::openinprocess(rig.writer.targetname) || qctest::openinprocess(rig.loader.file.sourcename))
        return 3;
    return 0;
}

int temporaryfiles(const TempDir& dir)
{
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir.path("")))
        n += e.path().string().ends_with("tmpmp3") || e.path().string().ends_with(".part");
    return n;
}

TEST(SaveFaults, FullDiskShowsTheErrorAndKeepsTheSource)
{
    // the trimmed output: everything but the first frame
    const std::int64_t outputsize = static_cast<std::int64_t>(original.size() - frames40[0].size());
    for (bool replacing : {false, true}) {
        for (rlim_t limit : {rlim_t{0}, rlim_t{4096}, rlim_t(outputsize - 1)}) {
            SCOPED_TRACE(std::string(replacing ? "replacing" : "other target") + ", limit " +
                         std::to_string(limit));
            SaveRig rig;
            ASSERT_TRUE(rig.load(original));
            rig.cut(0, 1);
            const std::string target = replacing ? rig.source : rig.dir.path("out.mp3");
            EXPECT_EQ(withfilelimit(limit, [&] { return failedsave(rig, target); }), 0);
            EXPECT_EQ(readbytes(rig.source), original);
            EXPECT_EQ(temporaryfiles(rig.dir), 0);
            // the output's name never holds a partial file
            if (!replacing) {
                EXPECT_FALSE(fs::exists(target));
            }
        }
    }

    // the same save with room enough succeeds in the child too
    SaveRig rig;
    ASSERT_TRUE(rig.load(original));
    rig.cut(0, 1);
    const std::string target = rig.dir.path("out.mp3");
    EXPECT_EQ(withfilelimit(rlim_t(outputsize), [&] {
                  rig.dialogs.choose(target);
                  rig.writer.savebutClick();
                  return rig.writer.saveok && rig.errors().empty() ? 0 : 1;
              }),
              0);
    EXPECT_EQ(readbytes(target), id3v2tag(300) + join(frames40, 1, 40) + id3v1tag("faults"));
}

TEST(SaveFaults, SourceGoneOrShortenedAfterTheDialogIsAnError)
{
    for (bool replacing : {false, true}) {
        for (const char* change : {"deleted", "shortened", "emptied"}) {
            SCOPED_TRACE(std::string(replacing ? "replacing, " : "other target, ") + change);
            SaveRig rig;
            ASSERT_TRUE(rig.load(original));
            rig.cut(1, 2);
            const std::string target = replacing ? rig.source : rig.dir.path("out.mp3");
            Bytes left;
            // the settings are written after the dialog, right before the copy
            rig.writer.writesettings = [&] {
                if (std::string(change) == "deleted")
                    fs::remove(rig.source);
                else {
                    left = std::string(change) == "emptied" ? Bytes{}
                                                            : Bytes(original.begin(), original.end() - 300);
                    rig.dir.write("song.mp3", left);
                }
            };
            EXPECT_EQ(failedsave(rig, target), 0);
            EXPECT_EQ(temporaryfiles(rig.dir), 0);
            if (std::string(change) == "deleted") {
                EXPECT_FALSE(fs::exists(rig.source));
            } else {
                EXPECT_EQ(readbytes(rig.source), left);
            }
        }
    }
}

// The copy itself: a source that shrinks after it was opened for the copy
// fails the copy at the first missing byte, never ends it early and silently.
TEST(SaveFaults, CopyFailsWhenTheSourceShrinksUnderIt)
{
    TempDir dir;
    const Bytes bytes = filler(200000, 0x5A);
    const std::string source = dir.write("source.mp3", bytes);
    qc::BinaryFile in, out;
    ASSERT_TRUE(in.openexisting(source));
    ASSERT_TRUE(out.create(dir.path("out.mp3")));
    fs::resize_file(source, 150000);
    qc::CopyPlan plan{{{1, 100001}, {120001, 190001}}};
    std::vector<std::uint8_t> buffer(qc::copybuffersize);
    EXPECT_FALSE(qc::copypieces(in, out, plan, buffer));
    EXPECT_NE(in.ioresult(), 0);
    EXPECT_EQ(out.ioresult(), 0);
    out.close();
    EXPECT_LT(fs::file_size(dir.path("out.mp3")), 130000u);
}

}  // namespace

namespace {

// A large source: the run of frames is longer than the copy buffer, so the
// save hands it to the kernel copy.
const std::vector<Bytes> frames400 = distinctframes(400);
const Bytes large = id3v2tag(300) + join(frames400, 0, 400) + id3v1tag("large");

// The copy as a file system that refuses it (or fails) would answer, after
// letting `allowed` bytes through the real call.
struct RefusingCopier {
    int err = EXDEV;
    std::int64_t allowed = 0;
    std::int64_t moved = 0;
    ssize_t operator()(int in, off_t* inoff, int out, off_t* outoff, std::size_t len)
    {
        if (moved >= allowed) {
            errno = err;
            return err == 0 ? 0 : -1;
        }
        len = std::min<std::size_t>(len, static_cast<std::size_t>(allowed - moved));
        ssize_t r = qc::systemcopyrange(in, inoff, out, outoff, len);
        moved += r > 0 ? r : 0;
        return r;
    }
};

}  // namespace

TEST(SaveFaults, RefusedKernelCopiesStillSaveEveryByte)
{
    const Bytes expected = id3v2tag(300) + join(frames400, 1, 399) + id3v1tag("large");
    for (bool replacing : {false, true}) {
        for (int err : {EXDEV, EINVAL, ENOSYS, EOPNOTSUPP, 0}) {
            for (std::int64_t allowed : {0, 70001}) {
                SCOPED_TRACE(std::string(replacing ? "replacing" : "other target") + ", errno " +
                             std::to_string(err) + " after " + std::to_string(allowed));
                SaveRig rig;
                ASSERT_TRUE(rig.load(large));
                rig.cut(0, 1);
                rig.cut(1, 1);
                auto copier = std::make_shared<RefusingCopier>(RefusingCopier{err, allowed});
                rig.writer.rangecopier = [copier](int i, off_t* io, int o, off_t* oo, std::size_t n) {
                    return (*copier)(i, io, o, oo, n);
                };
                const std::string target = replacing ? rig.source : rig.dir.path("out.mp3");
                EXPECT_EQ(rig.saveto(target), expected);
                EXPECT_TRUE(rig.writer.saveok);
                EXPECT_TRUE(rig.errors().empty());
                EXPECT_EQ(temporaryfiles(rig.dir), 0);
            }
        }
    }
}

TEST(SaveFaults, AFailingKernelCopyOrASourceShrinkingUnderItFailsTheSave)
{
    for (bool replacing : {false, true}) {
        for (const char* fault : {"disk full", "source shrinks"}) {
            SCOPED_TRACE(std::string(replacing ? "replacing, " : "other target, ") + fault);
            SaveRig rig;
            ASSERT_TRUE(rig.load(large));
            rig.cut(0, 1);
            const bool full = std::string(fault) == "disk full";
            auto copier = std::make_shared<RefusingCopier>(RefusingCopier{full ? ENOSPC : 0, 50000});
            const std::string source = rig.source;
            rig.writer.rangecopier = [copier, full, source](int i, off_t* io, int o, off_t* oo,
                                                            std::size_t n) {
                ssize_t r = (*copier)(i, io, o, oo, n);
                // the source loses its end while the copy runs
                if (!full && r > 0)
                    fs::resize_file(source, 60000);
                return r;
            };
            const Bytes before = readbytes(rig.source);
            const std::string target = replacing ? rig.source : rig.dir.path("out.mp3");
            EXPECT_EQ(failedsave(rig, target), 0);
            EXPECT_EQ(temporaryfiles(rig.dir), 0);
            const Bytes after = readbytes(rig.source);
            if (full) {
                EXPECT_EQ(after, before);
            } else {
                EXPECT_EQ(after, Bytes(before.begin(), before.begin() + 60000));
            }
        }
    }
}
