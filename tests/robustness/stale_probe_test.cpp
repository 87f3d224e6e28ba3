// An invalid header met by the free-format search after a frame that the
// probes found off its expected position: the walk must not go back to
// probe around that old position, which lies before the frames it has
// already counted.
#include <gtest/gtest.h>

#include "hostile_rig.h"

namespace {

using namespace qctest;

TEST(StaleProbe, InvalidHeaderAfterFreeFormatFramesEndsTheLoad)
{
    TempDir dir;
    const Bytes first = frame(FrameSpec{});                         // 128 kbps, 417 bytes
    const Bytes stray = {0x00, 0x00};                               // the next frame is found at E + 2
    const Bytes freeformat = Bytes{0xFF, 0xFB, 0x00, 0x40} + filler(100, 0);
    const Bytes invalid = Bytes{0xFF, 0xFB, 0xF0, 0x40} + filler(300, 0);  // bitrate index 15
    const std::string path = dir.write("stale.mp3", first + stray + freeformat + invalid);
    for (Answers a : {Answers::Yes, Answers::No}) {
        HostileRig rig(a);
        EXPECT_FALSE(rig.load(path));
        // the invalid header's position + 3, as for any header found without probing
        EXPECT_EQ(rig.loaderror(), "Improper frame header around position 527.");
        EXPECT_EQ(rig.file.framecount, 2);
        EXPECT_EQ(rig.file.framepos[1], 420);
    }
}

}  // namespace
