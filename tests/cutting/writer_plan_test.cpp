// The output's bytes, piece by piece: which stretches of the source a save
// keeps, for built byte streams whose every piece is known.
#include <gtest/gtest.h>

#include "cutting/copy_plan.h"
#include "writer_fixture.h"

namespace {

using namespace qctest;

const std::vector<Bytes> ten = distinctframes(10);

TEST(WriterPieces, CutsAtBothEndsKeepTagsAroundTheKeptFrames)
{
    const Bytes head = id3v2tag(100), foot = id3v1tag("kept");
    {
        SaveRig rig;
        ASSERT_TRUE(rig.load(head + join(ten, 0, 10) + foot));
        rig.cut(0, 2);
        rig.cut(1, 3);
        EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), head + join(ten, 2, 7) + foot);
        EXPECT_TRUE(rig.writer.saveok);
        EXPECT_EQ(rig.writer.byteswritten, static_cast<std::int64_t>((head + join(ten, 2, 7) + foot).size()));
    }
    {
        // one kept frame: nothing goes through the block copy, the frame alone is copied
        SaveRig rig;
        ASSERT_TRUE(rig.load(head + join(ten, 0, 10) + foot));
        rig.cut(0, 4);
        rig.cut(1, 5);
        EXPECT_EQ(rig.saveto(rig.dir.path("one.mp3")), head + ten[4] + foot);
    }
    {
        // both tags removed, no cut
        SaveRig rig;
        ASSERT_TRUE(rig.load(head + join(ten, 0, 10) + foot));
        rig.check(rig.loader.form.headtagcheck);
        rig.check(rig.loader.form.Foottagcheck);
        EXPECT_EQ(rig.saveto(rig.dir.path("bare.mp3")), join(ten, 0, 10));
    }
}

TEST(WriterPieces, LastFrameRunsToTheFileEndWithoutTrailingStructures)
{
    SaveRig rig;
    ASSERT_TRUE(rig.load(join(ten, 0, 10)));
    rig.cut(0, 1);
    EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), join(ten, 1, 10));
}

TEST(WriterPieces, RiffHeaderKeptUnchangedOrRemoved)
{
    const Bytes frames = join(ten, 0, 10);
    const Bytes riff = riffheader(static_cast<std::uint32_t>(frames.size()));
    const Bytes head = id3v2tag(40);
    {
        SaveRig rig;
        ASSERT_TRUE(rig.load(riff + frames));
        ASSERT_TRUE(rig.loader.file.riffpresent);
        rig.cut(0, 1);
        // the size fields stay those of the source
        EXPECT_EQ(rig.saveto(rig.dir.path("kept.mp3")), riff + join(ten, 1, 10));
    }
    {
        SaveRig rig;
        ASSERT_TRUE(rig.load(riff + frames));
        rig.check(rig.loader.form.riffcheck);
        EXPECT_EQ(rig.saveto(rig.dir.path("removed.mp3")), frames);
    }
    {
        SaveRig rig;
        ASSERT_TRUE(rig.load(head + riff + frames));
        rig.cut(1, 2);
        EXPECT_EQ(rig.saveto(rig.dir.path("both.mp3")), head + riff + join(ten, 0, 8));
    }
    {
        // RIFF removed, tag kept: the tag is followed by the first kept frame
        SaveRig rig;
        ASSERT_TRUE(rig.load(head + riff + frames));
        rig.check(rig.loader.form.riffcheck);
        rig.cut(0, 3);
        EXPECT_EQ(rig.saveto(rig.dir.path("tagonly.mp3")), head + join(ten, 3, 10));
    }
}

// Answers for the questions about one stretch of unknown data: no display,
// then include or not.
void answerstretch(SaveRig& rig, bool include)
{
    rig.loader.box.answer(ui::idno).answer(include ? ui::idyes : ui::idno);
}

TEST(WriterPieces, UnknownLeadingDataIncludedOrLeftOut)
{
    const Bytes junk = filler(50, 0x41), head = id3v2tag(30);
    for (bool include : {true, false}) {
        SCOPED_TRACE(include ? "included" : "left out");
        {
            SaveRig rig;
            answerstretch(rig, include);
            ASSERT_TRUE(rig.load(junk + join(ten, 0, 10)));
            ASSERT_EQ(rig.loader.file.leadingstart, 1);
            rig.cut(0, 1);
            EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), (include ? junk : Bytes{}) + join(ten, 1, 10));
        }
        {
            // behind an ID3v2 tag: the tag, then the data
            SaveRig rig;
            answerstretch(rig, include);
            ASSERT_TRUE(rig.load(head + junk + join(ten, 0, 10)));
            rig.cut(1, 1);
            EXPECT_EQ(rig.saveto(rig.dir.path("tagged.mp3")), head + (include ? junk : Bytes{}) + join(ten, 0, 9));
        }
    }
}

TEST(WriterPieces, UnknownDataBetweenFramesAndTag)
{
    const Bytes junk = filler(20, 0x42), foot = id3v1tag("between");
    for (bool include : {true, false}) {
        SCOPED_TRACE(include ? "included" : "left out");
        {
            SaveRig rig;
            answerstretch(rig, include);
            ASSERT_TRUE(rig.load(join(ten, 0, 10) + junk + foot));
            ASSERT_NE(rig.loader.file.betweenstart, 0);
            // without an end cut the last frame stops where the unknown data begins
            rig.cut(0, 2);
            EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")),
                      join(ten, 2, 10) + (include ? junk : Bytes{}) + foot);
        }
        {
            SaveRig rig;
            answerstretch(rig, include);
            ASSERT_TRUE(rig.load(join(ten, 0, 10) + junk + foot));
            rig.cut(1, 4);
            rig.check(rig.loader.form.Foottagcheck);
            EXPECT_EQ(rig.saveto(rig.dir.path("endcut.mp3")), join(ten, 0, 6) + (include ? junk : Bytes{}));
        }
    }
    {
        // no tag: the unknown data runs to the file end
        SaveRig rig;
        answerstretch(rig, true);
        ASSERT_TRUE(rig.load(join(ten, 0, 10) + junk));
        rig.cut(1, 1);
        EXPECT_EQ(rig.saveto(rig.dir.path("tail.mp3")), join(ten, 0, 9) + junk);
    }
}

TEST(WriterPieces, UnknownDataAfterTheTag)
{
    const Bytes between = filler(20, 0x42), foot = id3v1tag("middle"), after = filler(30, 0x43);
    for (bool includeafter : {true, false}) {
        for (bool keeptag : {true, false}) {
            SCOPED_TRACE(std::string(includeafter ? "after included" : "after left out") +
                         (keeptag ? ", tag kept" : ", tag removed"));
            SaveRig rig;
            answerstretch(rig, includeafter);  // asked first: the data after the tag
            answerstretch(rig, false);         // then the data between frames and tag
            ASSERT_TRUE(rig.load(join(ten, 0, 10) + between + foot + after));
            ASSERT_NE(rig.loader.file.afterstart, 0);
            if (!keeptag)
                rig.check(rig.loader.form.Foottagcheck);
            Bytes expected = join(ten, 0, 10) + (keeptag ? foot : Bytes{}) + (includeafter ? after : Bytes{});
            EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), expected);
        }
    }
}

TEST(WriterPieces, DamagedTagIsNeverWritten)
{
    Bytes damaged = id3v1tag("short");
    damaged.resize(60);
    SaveRig rig;
    rig.loader.box.answer(ui::idok);  // the warning about the damaged tag
    answerstretch(rig, false);
    ASSERT_TRUE(rig.load(join(ten, 0, 10) + damaged));
    ASSERT_TRUE(rig.loader.form.Foottagcheck.checked());
    ASSERT_FALSE(rig.loader.form.Foottagcheck.enabled());
    EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), join(ten, 0, 10));

    // the same bytes included as unknown data are written whole, last byte too
    SaveRig kept;
    kept.loader.box.answer(ui::idok);
    answerstretch(kept, true);
    ASSERT_TRUE(kept.load(join(ten, 0, 10) + damaged));
    EXPECT_EQ(kept.saveto(kept.dir.path("out.mp3")), join(ten, 0, 10) + damaged);
}

TEST(WriterPieces, TruncatedDamagedTailIsCutOff)
{
    // damage within the last 2 % of the file, with nothing like a frame or a tag after it
    const std::vector<Bytes> many = distinctframes(400);
    const Bytes body = join(many, 0, 400);
    SaveRig rig;
    rig.loader.box.answer(ui::idno).answer(ui::idok);  // no display, truncate
    ASSERT_TRUE(rig.load(body + filler(3000, 0x44)));
    ASSERT_EQ(rig.loader.file.afterstart, static_cast<std::int32_t>(body.size()) + 1);
    EXPECT_EQ(rig.saveto(rig.dir.path("out.mp3")), body);
    rig.cut(0, 399);
    EXPECT_EQ(rig.saveto(rig.dir.path("last.mp3")), many[399]);
}

TEST(WriterPieces, RealSampleKeepsTagsAndTheKeptFramesExactly)
{
    const Bytes src = readbytes(samplepath("tone44-cbr64-tagged.mp3"));
    SaveRig rig;
    ASSERT_TRUE(rig.loadfile(samplepath("tone44-cbr64-tagged.mp3")));
    const qc::LoadedFile& f = rig.loader.file;
    ASSERT_EQ(f.framecount, 64);
    rig.cut(0, 5);
    rig.cut(1, 7);
    auto range = [&](std::int64_t from, std::int64_t to) {  // 1-based, to exclusive
        return Bytes(src.begin() + from - 1, src.begin() + to - 1);
    };
    const std::int64_t size = static_cast<std::int64_t>(src.size());
    Bytes expected = range(1, 250) + range(f.framepos[5], f.framepos[57]) + range(size - 127, size + 1);
    EXPECT_EQ(rig.saveto(rig.dir.path("cut.mp3")), expected);
    rig.check(rig.loader.form.headtagcheck);
    rig.check(rig.loader.form.Foottagcheck);
    EXPECT_EQ(rig.saveto(rig.dir.path("bare.mp3")), range(f.framepos[5], f.framepos[57]));
}

TEST(CopyPieces, MovesBlocksOfTheBufferSizeAndFailsPastTheEnd)
{
    TempDir dir;
    Bytes src;
    for (int i = 0; i < 1000; ++i)
        src.push_back(static_cast<std::uint8_t>(i * 7 + i / 256));
    std::string in = dir.write("in.bin", src);

    qc::CopyPlan plan{{{901, 1001}, {2, 700}, {1, 2}}};
    std::vector<std::uint8_t> buffer(7);  // many full blocks and a short last one
    qc::BinaryFile source, output;
    ASSERT_TRUE(source.openexisting(in));
    ASSERT_TRUE(output.create(dir.path("out.bin")));
    EXPECT_TRUE(qc::copypieces(source, output, plan, buffer));
    source.close();
    output.close();
    EXPECT_EQ(source.ioresult(), 0);
    EXPECT_EQ(output.ioresult(), 0);
    Bytes expected(src.begin() + 900, src.end());
    expected.insert(expected.end(), src.begin() + 1, src.begin() + 699);
    expected.push_back(src[0]);
    EXPECT_EQ(readbytes(dir.path("out.bin")), expected);
    EXPECT_EQ(plan.bytes(), static_cast<std::int64_t>(expected.size()));

    // a source shorter than the plan: a failure, never a short success
    qc::CopyPlan beyond{{{990, 1010}}};
    ASSERT_TRUE(source.openexisting(in));
    ASSERT_TRUE(output.create(dir.path("short.bin")));
    EXPECT_FALSE(qc::copypieces(source, output, beyond, buffer));
    EXPECT_EQ(source.ioresult(), qc::BinaryFile::eof_error);
    source.close();
    output.close();
}

TEST(CopyPlan, NoPlanWhenTheCutsLeaveNoFrame)
{
    auto f = std::make_unique<qc::LoadedFile>();
    f->setframecount(3);
    f->filesize = 3000;
    f->framepos[0] = 1;
    f->framepos[1] = 1001;
    f->framepos[2] = 2001;
    f->cutframes[0] = 1;
    f->cutframes[1] = 2;
    EXPECT_FALSE(qc::makecopyplan(*f, {}).has_value());
    f->cutframes[1] = 1;
    auto plan = qc::makecopyplan(*f, {});
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->pieces, (std::vector<qc::Piece>{{1001, 2001}}));
    f->cutframes[0] = -1;
    EXPECT_FALSE(qc::makecopyplan(*f, {}).has_value());
}

}  // namespace
