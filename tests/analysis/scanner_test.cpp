#include <gtest/gtest.h>

#include "support/harness.h"

using namespace qc;
using namespace qctest;

namespace {

const FrameSpec f128{};  // 128 kbps, 44.1 kHz, joint stereo: 417 bytes

std::string errorbox(const std::string& text)
{
    return std::string(errorprefix) + text;
}

}  // namespace

TEST(Scanner, RealEncoderFilesLoadWithEveryFrameRecorded)
{
    Loader l;
    ASSERT_TRUE(l.load(samplepath("tone44-cbr64-tagged.mp3")));
    EXPECT_EQ(l.file.framecount, 64);
    EXPECT_EQ(l.file.totalframes, 64);
    EXPECT_TRUE(l.file.headtagpresent);
    EXPECT_EQ(l.file.framepos[0], l.file.headtagsize + 1);
    EXPECT_TRUE(l.file.footerfound);
    EXPECT_EQ(l.file.footerspan, 127);
    EXPECT_EQ(l.form.infolabel.caption(), "44.1 KHz, 64 kbps, 1.672, joint stereo");
    EXPECT_EQ(l.form.kbpslabel5.caption(), "  64 kbps frames:64");
    EXPECT_EQ(l.form.kbpslabel5.color(), ui::dominantcolor);
    // lame's Info frame is a valid frame whose side information is all zero
    EXPECT_EQ(l.file.framegain[0], 0);
    for (int i = 1; i < l.file.framecount; ++i)
        ASSERT_LT(l.file.framepos[i - 1], l.file.framepos[i]);

    ASSERT_TRUE(l.load(samplepath("tone48-vbr-mono.mp3")));
    EXPECT_EQ(l.file.framecount, 80);
    EXPECT_EQ(l.form.infolabel.caption(), "48 KHz, var.kbps, 1.92, mono");
    EXPECT_EQ(l.file.headerlen, 4);

    ASSERT_TRUE(l.load(samplepath("tone32-crc.mp3")));
    EXPECT_EQ(l.file.framecount, 41);
    EXPECT_EQ(l.file.headerlen, 6);
    EXPECT_DOUBLE_EQ(l.file.secondsperframe, 0.036);
    EXPECT_TRUE(l.box.shown.empty());
}

TEST(Scanner, LeadingStructures)
{
    TempDir dir;
    Loader l;
    // ID3v2 size bytes 00 00 02 01: 267 bytes, the first frame probed at 268
    Bytes tag = id3v2tag(2 * 128 + 1);
    ASSERT_TRUE(l.load(dir.write("tag.mp3", tag + frames(5, f128))));
    EXPECT_EQ(l.file.headtagsize, 267);
    EXPECT_EQ(l.file.framepos[0], 268);
    EXPECT_EQ(l.file.framecount, 5);

    // a tag of any size the file holds: a podcast's 1 MB cover picture
    Bytes big = id3v2tag(1048576);
    ASSERT_TRUE(l.load(dir.write("big.mp3", big + frames(3, f128))));
    EXPECT_EQ(l.file.headtagsize, 1048586);
    EXPECT_EQ(l.file.framepos[0], 1048587);
    EXPECT_EQ(l.file.framecount, 3);
    // a tag said to reach past the end of the file is damage
    l.box.answerall(ui::idok);
    Bytes toobig = id3v2tag(1048576);
    toobig.resize(300000);
    EXPECT_FALSE(l.load(dir.write("toobig.mp3", toobig + frames(3, f128))));
    ASSERT_EQ(l.box.shown.size(), 1u);
    EXPECT_EQ(l.box.shown[0].text, errorbox("Not a mp3 file or unknown format header tag."));
    EXPECT_EQ(l.box.shown[0].caption, "error");
    EXPECT_EQ(l.box.shown[0].style, 48);
    EXPECT_EQ(l.form.infolabel.caption(), "no file loaded");
    EXPECT_FALSE(l.form.frame1.enabled());
    l.box.clear();

    // RIFF header with a data chunk that begins with a frame, after an ID3v2 tag
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                  4, 0, 0, 0, 1, 2, 3, 4, 'd', 'a', 't', 'a', 0, 0, 0, 0};
    ASSERT_TRUE(l.load(dir.write("riff.mp3", id3v2tag(20) + riff + frames(4, f128))));
    EXPECT_TRUE(l.file.riffpresent);
    EXPECT_TRUE(l.file.headtagpresent);
    EXPECT_EQ(l.file.riffstart, l.file.headtagsize + 1);
    EXPECT_EQ(l.file.framepos[0], 30 + 1 + static_cast<int>(riff.size()));
    EXPECT_EQ(l.file.leadingstart, 0);
    EXPECT_TRUE(l.form.riffcheck.visible());
    EXPECT_FALSE(l.form.norifflab.visible());

    Bytes badriff = riff;
    EXPECT_FALSE(l.load(dir.write("badriff.mp3", badriff + filler(8, 1) + frames(4, f128))));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Not a 32 or 44.1 or 48KHz mp3 file."));
}

TEST(Scanner, LeadingUnknownDataUnderEachPolicy)
{
    TempDir dir;
    Loader l;
    std::string p = dir.write("lead.mp3", filler(100, 0) + frames(6, f128));

    l.setpolicy(ErrorPolicy::Prompt);
    l.box.answer(ui::idyes).answer(ui::idno).answer(ui::idno);
    ASSERT_TRUE(l.load(p));
    ASSERT_EQ(l.box.shown.size(), 3u);
    EXPECT_EQ(l.box.shown[0].text, "Improper or unknown header format.\r\nTry to continue processing?");
    EXPECT_EQ(l.box.shown[0].caption, "Error, may be possible to continue");
    EXPECT_EQ(l.box.shown[0].style, 36);
    EXPECT_EQ(l.box.shown[1].text,
              "Data of unknown origin (possibly a part of unknown type header tag),\r\n100 bytes, "
              "was found on file beginning. Display [some of] this data?");
    EXPECT_EQ(l.box.shown[2].style, 323);
    EXPECT_EQ(l.file.leadingstart, 1);
    EXPECT_EQ(l.file.framepos[0], 101);
    EXPECT_FALSE(l.file.includeleading);
    // unknown data left out is a change: Save as is available with no cut
    EXPECT_TRUE(l.form.savebut.enabled());

    l.box.clear();
    l.box.answer(ui::idno).answer(ui::idok);
    EXPECT_FALSE(l.load(p));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Invalid header."));

    l.box.clear();
    l.box.answer(ui::idok);
    l.setpolicy(ErrorPolicy::Fail);
    EXPECT_FALSE(l.load(p));
    ASSERT_EQ(l.box.shown.size(), 1u);
    EXPECT_EQ(l.box.shown[0].text, errorbox("Invalid header."));

    // attempt: no policy question; the data box shows the bytes, include Yes
    l.box.clear();
    l.setpolicy(ErrorPolicy::Attempt);
    std::string q = dir.write("text.mp3", Bytes{'a', 1, '\r', '\n', 'b'} + frames(3, f128));
    l.box.answer(ui::idyes).answer(ui::idok).answer(ui::idyes);
    ASSERT_TRUE(l.load(q));
    ASSERT_EQ(l.box.shown.size(), 3u);
    EXPECT_EQ(l.box.shown[1].text, "a \r\nb");
    EXPECT_EQ(l.box.shown[1].caption, "unknown origin data");
    EXPECT_EQ(l.box.shown[1].style, 0);
    EXPECT_TRUE(l.file.includeleading);

    // search limits: 60000 zeros pass, 70000 zeros or 9000 blanks do not
    l.box.clear();
    l.box.answerall(ui::idno);
    EXPECT_TRUE(l.load(dir.write("z60.mp3", filler(60000, 0) + frames(3, f128))));
    EXPECT_FALSE(l.load(dir.write("z70.mp3", filler(70000, 0) + frames(3, f128))));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Not a mp3 file or unknown format header tag."));
    EXPECT_FALSE(l.load(dir.write("b9.mp3", filler(9000, 0x20) + frames(3, f128))));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Not a mp3 file or unknown format header tag."));
}

TEST(Scanner, FalseSyncsBeforeTheFirstFrame)
{
    TempDir dir;
    Loader l;
    l.setpolicy(ErrorPolicy::Attempt);
    l.box.answerall(ui::idno);
    // FF FF FB: the frame starts at the second FF
    ASSERT_TRUE(l.load(dir.write("ff.mp3", Bytes{0x00, 0xFF} + frames(3, f128))));
    EXPECT_EQ(l.file.framepos[0], 3);
    // a header with the reserved sampling frequency early on is skipped
    Bytes reserved = {0x00, 0xFF, 0xFB, 0x9C, 0x00, 0x00};
    ASSERT_TRUE(l.load(dir.write("res.mp3", reserved + frames(3, f128))));
    EXPECT_EQ(l.file.framepos[0], 7);
    // ... but at position 255 or later it ends the scan
    Bytes late = filler(300, 0);
    late[299] = 0xFF;
    EXPECT_FALSE(l.load(dir.write("late.mp3", late + Bytes{0xFB, 0x9C, 0} + frames(3, f128))));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Not a 32 or 44.1 or 48KHz mp3 file."));
    // no frame at all in a small file
    EXPECT_FALSE(l.load(dir.write("none.mp3", filler(50, 0x31))));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Not a 32 or 44.1 or 48KHz mp3 file."));
}

TEST(Scanner, WalkRepairsSmallMisalignmentsAndFollowsVariableBitrates)
{
    TempDir dir;
    Loader l;
    FrameSpec f160 = f128;
    f160.bitrateindex = 10;
    FrameSpec f320 = f128;
    f320.bitrateindex = 14;
    Bytes vbr = frames(2, f128) + frames(3, f160) + frames(1, f320) + frames(2, f128);
    ASSERT_TRUE(l.load(dir.write("vbr.mp3", vbr)));
    EXPECT_EQ(l.file.framecount, 8);
    EXPECT_EQ(l.file.ratecount[9], 4);
    EXPECT_EQ(l.file.ratecount[10], 3);
    EXPECT_EQ(l.file.ratecount[14], 1);
    EXPECT_EQ(l.form.infolabel.caption().find("var.kbps"), 10u);

    // one stray byte, two stray bytes, one missing byte
    Bytes stray1 = frames(2, f128) + filler(1, 0) + frames(2, f128);
    ASSERT_TRUE(l.load(dir.write("s1.mp3", stray1)));
    EXPECT_EQ(l.file.framecount, 4);
    EXPECT_EQ(l.file.framepos[2], 2 * 417 + 2);
    Bytes stray2 = frames(2, f128) + filler(2, 0) + frames(2, f128);
    ASSERT_TRUE(l.load(dir.write("s2.mp3", stray2)));
    EXPECT_EQ(l.file.framepos[2], 2 * 417 + 3);
    Bytes missing = frames(2, f128);
    missing.pop_back();
    missing = missing + frames(2, f128);
    ASSERT_TRUE(l.load(dir.write("m1.mp3", missing)));
    EXPECT_EQ(l.file.framecount, 4);
    EXPECT_EQ(l.file.framepos[2], 2 * 417);
}

TEST(Scanner, DamagedFrameSizesUnderEachPolicy)
{
    TempDir dir;
    Loader l;
    Bytes damaged = frames(3, f128) + filler(10, 0) + frames(6, f128);
    std::string p = dir.write("ten.mp3", damaged);

    l.setpolicy(ErrorPolicy::Prompt);
    l.box.answer(ui::idyes);
    ASSERT_TRUE(l.load(p));
    ASSERT_EQ(l.box.shown.size(), 1u);
    EXPECT_EQ(l.box.shown[0].text,
              "Improper frame size at position 834\r\nTry to continue processing?");
    EXPECT_EQ(l.file.framecount, 9);
    EXPECT_EQ(l.file.framepos[3], 3 * 417 + 11);

    l.box.clear();
    l.box.answer(ui::idno);
    EXPECT_FALSE(l.load(p));
    EXPECT_EQ(l.box.shown.size(), 1u);  // a No cancels without an error box
    EXPECT_EQ(l.form.infolabel.caption(), "no file loaded");

    l.box.clear();
    l.box.answerall(ui::idok);
    l.setpolicy(ErrorPolicy::Fail);
    EXPECT_FALSE(l.load(p));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Improper frame size"));

    // bitrate index 15 where a frame is expected
    l.box.clear();
    Bytes bad = frames(2, f128) + Bytes{0xFF, 0xFB, 0xF0, 0x40} + filler(3000, 0);
    EXPECT_FALSE(l.load(dir.write("f15.mp3", bad)));
    EXPECT_EQ(l.box.shown.back().text,
              errorbox("Improper frame header around position " + std::to_string(2 * 417 + 1 + 3) + "."));

    // a 48 kHz frame among 44.1 kHz frames
    l.box.clear();
    FrameSpec f48 = f128;
    f48.rate = 4;
    Bytes mixed = frames(2, f128) + frames(1, f48) + frames(2, f128);
    EXPECT_FALSE(l.load(dir.write("mixed.mp3", mixed)));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Variable sampling rate mp3 - not allowed."));
}

TEST(Scanner, FreeFormatFramesAreFollowedToTheNextSync)
{
    TempDir dir;
    Loader l;
    FrameSpec free = f128;
    free.bitrateindex = 0;  // 200 bytes each from the builder
    Bytes two = frames(2, free) + frames(3, f128);
    l.box.answer(ui::idok);
    ASSERT_TRUE(l.load(dir.write("free.mp3", two)));
    EXPECT_EQ(l.file.ratecount[0], 2);
    EXPECT_EQ(l.file.framepos[1], 201);
    EXPECT_EQ(l.file.framepos[2], 401);
    ASSERT_EQ(l.box.shown.size(), 1u);
    EXPECT_EQ(l.box.shown[0].text, "Possible length error < 0.05 sec\r\n(due to free format frames)");
    EXPECT_EQ(l.box.shown[0].style, 48);

    // no second sync within 1442 bytes
    l.box.clear();
    l.box.answerall(ui::idok);
    Bytes lone = frames(1, free) + filler(3000, 0) + frames(2, f128);
    EXPECT_FALSE(l.load(dir.write("lone.mp3", lone)));
    EXPECT_NE(l.box.shown.back().text.find("Improper frame header around position "), std::string::npos);
}

TEST(Scanner, FilesOfAnyNumberOfFramesLoadWithProgressEvery256Frames)
{
    TempDir dir;
    Loader l;
    FrameSpec tiny = f128;
    tiny.bitrateindex = 1;  // 104 bytes at 44.1 kHz
    Bytes one = frame(tiny);
    Bytes ok;
    ok.reserve(one.size() * 500224);
    for (int i = 0; i < 500224; ++i)
        ok.insert(ok.end(), one.begin(), one.end());
    std::string p = dir.write("max.mp3", ok);
    ASSERT_TRUE(l.load(p));
    EXPECT_EQ(l.file.framecount, 500224);
    EXPECT_EQ(l.pump.count, (500224 + 255) / 256);
    // and any number more: the record grows with the file
    for (int i = 0; i < 100000; ++i)
        ok.insert(ok.end(), one.begin(), one.end());
    ASSERT_TRUE(l.load(dir.write("over.mp3", ok)));
    EXPECT_EQ(l.file.framecount, 600224);
    EXPECT_EQ(l.file.framepos[600223], std::int64_t{600223} * 104 + 1);
    EXPECT_EQ(l.pump.count, (500224 + 255) / 256 + (600224 + 255) / 256);
}

TEST(Scanner, FailedAndRepeatedLoadsLeaveTheWindowConsistent)
{
    TempDir dir;
    Loader l;
    std::string good = dir.write("good.mp3", frames(3, f128));
    ASSERT_TRUE(l.load(good));
    EXPECT_TRUE(l.form.frame1.enabled());
    EXPECT_EQ(l.form.focus(), &l.form.tbox0);
    EXPECT_FALSE(l.file.busy);
    EXPECT_TRUE(l.file.proposename);
    EXPECT_FALSE(l.form.savebut.enabled());  // nothing to change yet

    // a missing file, a read-only file
    l.box.answerall(ui::idok);
    EXPECT_FALSE(l.load(dir.path("missing.mp3")));
    // the sentence, and under it the cause
    EXPECT_EQ(l.box.shown.back().text, errorbox("Disk or unknown error.") + "\r\n No such file or directory");
    EXPECT_EQ(l.form.focus(), &l.form.openbut);
    EXPECT_FALSE(l.form.frame1.enabled());
    EXPECT_EQ(l.file.framepos[2], 835);  // old values stay but are not used
    EXPECT_EQ(l.form.filenamelabel.caption(), "");
    EXPECT_FALSE(l.form.pbar.visible());

    // Reload keeps the cuts and removal choices; Load resets them
    std::string tagged = dir.write("tagged.mp3", id3v2tag(30) + frames(20, f128));
    ASSERT_TRUE(l.load(tagged));
    l.form.headtagcheck.click();
    l.form.tbox0.usertext("0.1");
    EXPECT_EQ(l.file.cutframes[0], 4);
    ASSERT_TRUE(l.reload());
    EXPECT_TRUE(l.form.headtagcheck.checked());
    EXPECT_EQ(l.file.cutframes[0], 4);
    EXPECT_EQ(l.form.tbox0.text(), "0.1");
    ASSERT_TRUE(l.load(tagged));
    EXPECT_FALSE(l.form.headtagcheck.checked());
    EXPECT_EQ(l.file.cutframes[0], 0);
    EXPECT_EQ(l.form.tbox0.text(), "0");
}

// A disk error says under its sentence what happened to the file.
TEST(Scanner, ADiskErrorSaysWhatHappened)
{
    TempDir dir;
    Loader l;
    l.box.answerall(ui::idok);
    EXPECT_FALSE(l.load(dir.write("empty.mp3", {})));
    EXPECT_EQ(l.box.shown.back().text, errorbox("Disk or unknown error.") + "\r\n The file is empty.");
    EXPECT_FALSE(l.load(dir.write("short.mp3", Bytes{'I', 'D'})));
    EXPECT_EQ(l.box.shown.back().text,
              errorbox("Disk or unknown error.") +
                  "\r\n The file ends before its data does (did it change while it was loaded?).");
    EXPECT_FALSE(l.load(dir.path("")));  // a folder
    EXPECT_EQ(l.box.shown.back().text, errorbox("Disk or unknown error.") + "\r\n Is a directory");
    // the other failures say it in their own sentence
    EXPECT_FALSE(l.load(dir.write("text.mp3", Bytes(3000, 'x'))));
    EXPECT_EQ(l.box.shown.back().text.find("\r\n", std::string(errorprefix).size()), std::string::npos);
}

TEST(Scanner, LongFileNamesAreShortenedFromTheFront)
{
    TempDir dir;
    Loader l;
    std::string name = std::string(60, 'n') + ".mp3";
    std::string p = dir.write(name, frames(3, f128));
    ASSERT_TRUE(l.load(p));
    const std::string& shown = l.form.filenamelabel.caption();
    EXPECT_EQ(shown.substr(0, 3), "...");
    EXPECT_LE(7 * static_cast<int>(shown.size()), 290 - 8);
    EXPECT_GT(7 * static_cast<int>(shown.size() + 1), 290 - 8);
    EXPECT_EQ(p.substr(p.size() - (shown.size() - 3)), shown.substr(3));
    // the whole name is the line's tooltip
    EXPECT_EQ(l.form.filenamelabel.hint(), p);
}
