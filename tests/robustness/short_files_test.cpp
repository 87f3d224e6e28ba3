// Files shorter than an ID3v1 tag: the standard tag position lies before
// the file's first byte, which means there is no tag there, not a disk error.
#include <gtest/gtest.h>

#include "hostile_rig.h"

namespace {

using namespace qctest;

TEST(ShortFiles, DataAfterTheOnlyFrameOfAFileShorterThanATagIsAskedAbout)
{
    TempDir dir;
    // 32 kbps at 44.1 kHz: a frame of 104 bytes, then 16 bytes of text
    FrameSpec spec{.bitrateindex = 1};
    const Bytes source = frame(spec) + filler(16, 'x');
    ASSERT_EQ(source.size(), 120u);
    for (Answers a : {Answers::Yes, Answers::No}) {
        HostileRig rig(a);
        ASSERT_TRUE(rig.load(dir.write("short.mp3", source)));
        EXPECT_EQ(rig.loaderror(), "");
        EXPECT_EQ(rig.file.framecount, 1);
        EXPECT_EQ(rig.file.betweenstart, 105);
        EXPECT_EQ(rig.file.footerpos, 120);
        EXPECT_FALSE(rig.file.footerfound);
        EXPECT_EQ(rig.file.includebetween, a == Answers::Yes);
        ASSERT_FALSE(rig.box.shown.empty());
        EXPECT_EQ(rig.box.shown.front().text.substr(0, 44), "Data of unknown origin (16 bytes) has been f");
    }
}

}  // namespace
