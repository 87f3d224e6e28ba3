// A file is let go as soon as it is no longer the loaded one: after another
// file is opened nothing maps it any more, so that a file deleted meanwhile
// gives its disk space back at once (a large file's map was once kept until
// the next save or the end of the program).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/harness.h"

using namespace qctest;

namespace {

// Whether the process maps the file (by its path, as /proc/self/maps names it).
bool mapped(const std::string& path)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(path) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(ReleasedFile, AnotherLoadLetsTheLargeFileGo)
{
    TempDir dir;
    Loader l;
    // 17 MB: large enough that its load's map is kept for its other readers
    const std::string large = dir.write("large.mp3", frames(42000, FrameSpec{}));
    const std::string small = dir.write("small.mp3", frames(20, FrameSpec{}));
    ASSERT_TRUE(l.load(large));
    ASSERT_TRUE(l.load(small));
    EXPECT_FALSE(mapped(large));
    // deleted while loaded, then another file opened: nothing holds it
    ASSERT_TRUE(l.load(large));
    std::filesystem::remove(large);
    ASSERT_TRUE(l.load(small));
    EXPECT_FALSE(mapped(large + " (deleted)"));
    EXPECT_FALSE(mapped(large));
}
