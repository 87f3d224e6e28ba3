// The save report: the error kind, the errno and which file failed.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "cutting/save_report.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;

namespace {

struct Saver {
    LoadedFile file;
    Scanner scanner{file};
    PresetAnswers answers = PresetAnswers::yes();
    BinaryFile output;
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(copybuffersize);

    bool load(const std::string& path)
    {
        file.sourcename = path;
        file.cutframes[0] = file.cutframes[1] = 0;
        return scanner.scanfile({ErrorPolicy::Attempt, &answers, nullptr}).ok;
    }
    SaveReport save(const SaveChoices& c, const std::string& target)
    {
        SaveReport r = copyout(file, c, target, output, buffer);
        for (BinaryFile* f : {&output}) {
            if (f->isopen())
                f->close();
            f->ioresult();
        }
        return r;
    }
};

}  // namespace

TEST(SaveReport, ChoicesNotTheRecordDecideTheOutput)
{
    TempDir dir;
    Saver s;
    const Bytes body = frames(10, FrameSpec{});
    ASSERT_TRUE(s.load(dir.write("in.mp3", filler(20, 'a') + body + id3v1tag())));
    SaveChoices c;
    c.cuts[0] = 2;
    c.cuts[1] = 3;
    SaveReport r = s.save(c, dir.path("out.mp3"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.error.kind, ErrorKind::None);
    EXPECT_EQ(r.frames, 5);
    EXPECT_EQ(r.bytes, 5 * 417);
    EXPECT_EQ(readbytes(dir.path("out.mp3")), Bytes(body.begin() + 2 * 417, body.begin() + 7 * 417));
    EXPECT_EQ(s.file.cutframes[0], 0);  // the record is not the choice

    c = {};
    c.includeleading = true;
    c.keep.footer = true;
    r = s.save(c, dir.path("all.mp3"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readbytes(dir.path("all.mp3")), readbytes(dir.path("in.mp3")));
    EXPECT_EQ(r.bytes, static_cast<std::int64_t>(readbytes(dir.path("in.mp3")).size()));
}

TEST(SaveReport, FailuresNameTheirKindErrnoAndTheFileToBlame)
{
    TempDir dir;
    Saver s;
    const std::string source = dir.write("in.mp3", frames(10, FrameSpec{}));
    ASSERT_TRUE(s.load(source));

    // a missing target folder is the target's fault, not the source's: an
    // output that cannot be made is a failed write (not-found is the source's)
    SaveReport r = s.save({}, dir.path("no/such/folder/out.mp3"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.kind, ErrorKind::WriteFailed);
    EXPECT_EQ(r.error.blame, Blame::Target);
    EXPECT_EQ(r.error.errnum, ENOENT);

    std::filesystem::create_directory(dir.path("target.mp3"));
    r = s.save({}, dir.path("target.mp3"));
    EXPECT_EQ(r.error.kind, ErrorKind::WriteFailed);
    EXPECT_EQ(r.error.blame, Blame::Target);
    EXPECT_EQ(r.error.errnum, EISDIR);

    if (::geteuid() != 0) {
        std::filesystem::create_directory(dir.path("locked"));
        std::filesystem::permissions(dir.path("locked"), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec);
        r = s.save({}, dir.path("locked/out.mp3"));
        EXPECT_EQ(r.error.kind, ErrorKind::Permission);
        EXPECT_EQ(r.error.blame, Blame::Target);
    }

    SaveChoices none;
    none.cuts[0] = 6;
    none.cuts[1] = 4;
    r = s.save(none, dir.path("none.mp3"));
    EXPECT_EQ(r.error.kind, ErrorKind::NothingToSave);
    EXPECT_EQ(r.error.cause, Cause::NothingKept);

    // the source shortened since the load
    std::filesystem::resize_file(source, 2000);
    r = s.save({}, dir.path("short.mp3"));
    EXPECT_EQ(r.error.cause, Cause::SourceChanged);
    EXPECT_EQ(r.error.blame, Blame::Source);
    EXPECT_FALSE(sourceunchanged(s.file));

    // the source gone
    std::filesystem::remove(source);
    r = s.save({}, dir.path("gone.mp3"));
    EXPECT_EQ(r.error.kind, ErrorKind::NotFound);
    EXPECT_EQ(r.error.blame, Blame::Source);
    EXPECT_EQ(r.error.errnum, ENOENT);
}
