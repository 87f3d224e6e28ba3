// Every file of the hostile-input folder (hand-made damage, and every crash
// the fuzzers ever kept) through the load under each way of answering, and
// through both tag views: no crash, no hang, and a consistent record.
#include <gtest/gtest.h>

#include <filesystem>

#include "hostile_rig.h"
#include "support/open_files.h"

namespace {

using namespace qctest;
namespace fs = std::filesystem;

// A hang guard, not a speed test: the slowest of these loads takes a small
// fraction of this even under the sanitizers.
constexpr double secondsperfile = 20;

std::vector<std::string> hostilefiles()
{
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(fixturepath("hostile")))
        if (e.is_regular_file() && e.path().extension() != ".py" && e.path().extension() != ".md")
            out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

const char* modename(Answers a)
{
    return a == Answers::Yes ? "yes" : a == Answers::No ? "no" : "cancel";
}

TEST(HostileInputs, EveryFileLoadsAndShowsItsTagsWithinTime)
{
    const std::vector<std::string> files = hostilefiles();
    ASSERT_GE(files.size(), 25u);
    for (Answers a : {Answers::Yes, Answers::No, Answers::CancelFirst}) {
        HostileRig rig(a);
        for (const std::string& path : files) {
            const std::string name = path + " (" + modename(a) + ")";
            bool loaded = false;
            auto took = timed([&] { loaded = rig.load(path); });
            EXPECT_LT(took.count(), secondsperfile) << name;
            EXPECT_FALSE(rig.file.busy) << name;
            EXPECT_FALSE(qctest::openinprocess(rig.file.sourcename)) << name;
            if (!loaded) {
                EXPECT_EQ(rig.form.infolabel.caption(), "no file loaded") << name;
                EXPECT_FALSE(rig.form.savebut.enabled()) << name;
                continue;
            }
            expectconsistentload(rig.file, static_cast<std::int64_t>(fs::file_size(path)), name);
            // the views read the file again; each shows exactly one box
            took = timed([&] {
                std::vector<Box> boxes = rig.viewtags();
                EXPECT_EQ(boxes.size(), 2u) << name;
            });
            EXPECT_LT(took.count(), secondsperfile) << name;
            EXPECT_FALSE(qctest::openinprocess(rig.file.sourcename)) << name;
        }
    }
}

// Outcomes that follow from the file format, for the damage named.
TEST(HostileInputs, DamagedFilesEndTheLoadWithTheirOwnError)
{
    HostileRig rig(Answers::Yes);
    auto errorof = [&](const std::string& name) {
        EXPECT_FALSE(rig.load(fixturepath("hostile/" + name))) << name;
        return rig.loaderror();
    };
    EXPECT_EQ(errorof("empty.mp3"), "Disk or unknown error.");
    EXPECT_EQ(errorof("tiny-1.mp3"), "Disk or unknown error.");
    EXPECT_EQ(errorof("tiny-2.mp3"), "Disk or unknown error.");
    // every top bit of the size set: the synchsafe reading drops them, and
    // the tag then reaches past the end of the file
    EXPECT_EQ(errorof("id3v2-size-all-bits.mp3"), "Not a mp3 file or unknown format header tag.");
    EXPECT_EQ(errorof("riff-without-data.mp3"), "Not a 32 or 44.1 or 48KHz mp3 file.");
    EXPECT_EQ(errorof("riff-data-at-end.mp3"), "Not a 32 or 44.1 or 48KHz mp3 file.");
    EXPECT_EQ(errorof("all-ff.mp3"), "Not a 32 or 44.1 or 48KHz mp3 file.");
    // 3000 bytes without a sync after a free-format frame
    EXPECT_EQ(errorof("free-format-no-second-sync.mp3"), "Improper frame header around position 1447.");

    // damage at 98 % of the file that no sync word repairs: the file is cut
    // at the damaged frame; a tag beyond the near-end scan is cut off with it
    const std::int32_t damage = 320 * 417 + 1;
    ASSERT_TRUE(rig.load(fixturepath("hostile/damaged-near-end.mp3")));
    EXPECT_EQ(rig.file.framecount, 320);
    EXPECT_EQ(rig.file.afterstart, damage);
    EXPECT_FALSE(rig.file.includeafter);
    EXPECT_FALSE(rig.file.footerfound);
    EXPECT_EQ(rig.box.shown.front().text.substr(0, 30), "Large amount of data which can");
    // a tag within its reach is found there, with the data around it
    ASSERT_TRUE(rig.load(fixturepath("hostile/damaged-near-end-tag-within-reach.mp3")));
    EXPECT_TRUE(rig.file.footerfound);
    EXPECT_EQ(rig.file.footerpos, damage + 1300);
    EXPECT_EQ(rig.file.betweenstart, damage);
    EXPECT_EQ(rig.file.afterstart, damage + 1300 + 128);
    EXPECT_TRUE(rig.file.includebetween && rig.file.includeafter);

    // the top bits alone make a size of 0: a 10-byte tag, frames after it
    EXPECT_TRUE(rig.load(fixturepath("hostile/id3v2-size-top-bits-only.mp3")));
    EXPECT_EQ(rig.file.headtagsize, 10);
    EXPECT_EQ(rig.file.framecount, 4);
}

}  // namespace
