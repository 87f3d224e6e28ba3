// Saves of files whose damage leaves the loaded record's stretches touching
// or overlapping: the output still holds each source byte at most once, in
// source order, and never more than the file has.
#include <gtest/gtest.h>

#include "cutting/writer_fixture.h"

namespace {

using namespace qctest;

TEST(DamagedSaves, LastFrameCutOffInsideItsHeaderIsCopiedAsFarAsItGoes)
{
    // three bytes of a frame and the end of the file: it loads as one frame
    // (its length is never reached), and an output of it takes those three
    // bytes, not the four of a whole header
    SaveRig rig;
    const Bytes stub = {0xFF, 0xFB, 0x90};
    rig.loader.box.answerall(ui::idok);
    ASSERT_TRUE(rig.load(stub));
    EXPECT_EQ(rig.loader.file.framecount, 1);
    std::optional<qc::CopyPlan> plan = qc::makecopyplan(rig.loader.file, {true, true, true});
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->pieces, (std::vector<qc::Piece>{{1, 4}}));
    qc::BinaryFile in, out;
    ASSERT_TRUE(in.openexisting(rig.source));
    ASSERT_TRUE(out.create(rig.dir.path("out.mp3")));
    std::vector<std::uint8_t> buffer(qc::copybuffersize);
    EXPECT_TRUE(qc::copypieces(in, out, *plan, buffer));
    in.close();
    out.close();
    EXPECT_EQ(in.ioresult() + out.ioresult(), 0);
    EXPECT_EQ(readbytes(rig.dir.path("out.mp3")), stub);
}

TEST(DamagedSaves, DataSaidToBeginInsideTheLastFrameIsNotCopiedTwice)
{
    // 48 kHz, 64 kbps frames; the last one's header byte 2 reads "T" and is
    // followed by "AG", and the file ends 128 bytes into that frame:
    // the walk stops there and the footer search finds a damaged tag two
    // bytes into the frame, with the unknown data between "beginning" at
    // the frame itself.
    FrameSpec spec{.bitrateindex = 5, .rate = 4, .mode = 0xC0};
    const std::vector<Bytes> frames = distinctframes(2, spec);
    const Bytes last = Bytes{0xFF, 0xFB, 0x54, 0x41, 0x47} + filler(123, 0);
    const Bytes source = join(frames, 0, 2) + last;
    SaveRig rig;
    rig.loader.box.answer(ui::idok).answer(ui::idyes).answer(ui::idok).answer(ui::idyes);
    ASSERT_TRUE(rig.load(source));
    const qc::LoadedFile& f = rig.loader.file;
    ASSERT_EQ(f.framecount, 3);
    const std::int32_t p = f.framepos[2];
    EXPECT_EQ(f.betweenstart, p);
    EXPECT_TRUE(f.includebetween);
    EXPECT_EQ(f.footerpos, p + 2);
    EXPECT_LT(f.footerspan, 127);
    EXPECT_EQ(rig.loader.box.shown[0].text,
              "Damaged footer (ID3v1) tag!\r\nIt will not be written to output file.");

    // the last frame's four header bytes once, nothing of them again
    rig.cut(0, 1);
    const Bytes expected = frames[1] + Bytes{0xFF, 0xFB, 0x54, 0x41};
    EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), expected);
    EXPECT_TRUE(rig.errors().empty());
}

}  // namespace
