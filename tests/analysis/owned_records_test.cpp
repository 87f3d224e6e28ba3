// A loaded file is a value its owner holds: two records side by side are
// two files, and a load into one leaves the other as it was.
#include <gtest/gtest.h>

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;

namespace {

LoadReport loadinto(LoadedFile& f, const std::string& path)
{
    PresetAnswers answers = PresetAnswers::yes();
    f.sourcename = path;
    return Scanner(f).scanfile({ErrorPolicy::Attempt, &answers, nullptr});
}

}  // namespace

TEST(OwnedRecords, ALoadWhileAnotherFileIsLoadedKeepsTheFirstUntouched)
{
    TempDir dir;
    FrameSpec quiet;
    quiet.gain = 40;
    FrameSpec loud;
    loud.bitrateindex = 11;  // 192 kbps
    loud.gain = 200;
    const std::string a = dir.write("a.mp3", id3v2tag(100) + frames(50, quiet) + id3v1tag());
    const std::string b = dir.write("b.mp3", frames(700, loud));

    LoadedFile first, second;
    ASSERT_TRUE(loadinto(first, a).ok);
    const LoadedFile before = first;  // a copy: a record is a plain value
    ASSERT_TRUE(loadinto(second, b).ok);

    EXPECT_EQ(first.sourcename, a);
    EXPECT_EQ(first.framecount, 50);
    EXPECT_EQ(first.framepos, before.framepos);
    EXPECT_EQ(first.framegain, before.framegain);
    EXPECT_EQ(first.ratecount, before.ratecount);
    EXPECT_EQ(first.filesize, before.filesize);
    EXPECT_TRUE(first.headtagpresent && first.footerfound);
    EXPECT_EQ(second.framecount, 700);
    EXPECT_EQ(second.framegain[0], 200);
    EXPECT_FALSE(second.headtagpresent || second.footerfound);

    // and the two window rigs of the tests own theirs the same way
    Loader one, two;
    ASSERT_TRUE(one.load(a));
    ASSERT_TRUE(two.load(b));
    EXPECT_EQ(one.file.framecount, 50);
    EXPECT_EQ(one.file.framegain, before.framegain);
    EXPECT_NE(&one.file, &two.file);
}

// A failed load rewrites only its own record.
TEST(OwnedRecords, AFailedLoadLeavesOtherRecordsAlone)
{
    TempDir dir;
    const std::string good = dir.write("good.mp3", frames(20, FrameSpec{}));
    const std::string bad = dir.write("bad.mp3", filler(5000, 0x41));
    LoadedFile kept, failed;
    ASSERT_TRUE(loadinto(kept, good).ok);
    EXPECT_FALSE(loadinto(failed, bad).ok);
    EXPECT_TRUE(kept.loadok);
    EXPECT_EQ(kept.framecount, 20);
    EXPECT_FALSE(failed.loadok);
}
