#include <gtest/gtest.h>

#include "support/harness.h"

using namespace qc;
using namespace qctest;

namespace {
const FrameSpec f128{};
}

TEST(Trailing, TagDirectlyAfterTheFramesIsFoundWithoutQuestions)
{
    TempDir dir;
    Loader l;
    ASSERT_TRUE(l.load(dir.write("a.mp3", frames(5, f128) + id3v1tag())));
    EXPECT_TRUE(l.file.footerfound);
    EXPECT_EQ(l.file.footerspan, 127);
    EXPECT_EQ(l.file.footerpos, 5 * 417 + 1);
    EXPECT_TRUE(l.form.Foottagcheck.visible());
    EXPECT_TRUE(l.form.Foottagcheck.enabled());
    EXPECT_FALSE(l.form.Foottagcheck.checked());
    EXPECT_TRUE(l.form.vftbutton.visible());
    EXPECT_FALSE(l.form.nofootlabel.visible());
    EXPECT_TRUE(l.box.shown.empty());
    // the last frame ends the file: no tag and no question
    ASSERT_TRUE(l.load(dir.write("b.mp3", frames(5, f128))));
    EXPECT_FALSE(l.file.footerfound);
    EXPECT_TRUE(l.file.overrun);
    EXPECT_TRUE(l.form.nofootlabel.visible());
    EXPECT_FALSE(l.form.vftbutton.visible());
    EXPECT_TRUE(l.box.shown.empty());
}

TEST(Trailing, UnknownDataBetweenFramesAndTagAndAtTheEnd)
{
    TempDir dir;
    Loader l;
    l.box.answer(ui::idno).answer(ui::idno);
    ASSERT_TRUE(l.load(dir.write("between.mp3", frames(4, f128) + filler(10, 'x') + id3v1tag())));
    ASSERT_EQ(l.box.shown.size(), 2u);
    EXPECT_EQ(l.box.shown[0].text,
              "Data of unknown origin (10 bytes) has been found between last frame and footer "
              "(ID3v1) tag.\r\nThis data may represent a comment, a part of an invalid size frame, "
              "or a tag of unknown type.\r\nDo you want to display [some of] it?");
    EXPECT_EQ(l.box.shown[0].style, 67);
    EXPECT_EQ(l.box.shown[1].text, "Include this data to output file?\r\n(not recommended)");
    EXPECT_EQ(l.file.betweenstart, 4 * 417 + 1);
    EXPECT_TRUE(l.file.footerfound);
    EXPECT_EQ(l.file.footerpos, 4 * 417 + 11);
    EXPECT_TRUE(l.form.savebut.enabled());  // the 10 bytes are left out

    l.box.clear();
    l.box.answer(ui::idyes).answer(ui::idok).answer(ui::idyes);
    ASSERT_TRUE(l.load(dir.write("end.mp3", frames(4, f128) + filler(20, 'y'))));
    EXPECT_EQ(l.box.shown[0].text,
              "Data of unknown origin (20 bytes) has been found on the file end. This data\r\nmay "
              "represent a comment, a tag of unknown type, or a part of an invalid size "
              "frame.\r\nDo you want to display [some of] it?");
    // the data box leaves out the last byte of the file
    EXPECT_EQ(l.box.shown[1].text, std::string(19, 'y'));
    EXPECT_EQ(l.file.betweenstart, 4 * 417 + 1);
    EXPECT_EQ(l.file.footerpos, l.file.filesize);
    EXPECT_TRUE(l.file.includebetween);
    EXPECT_FALSE(l.form.savebut.enabled());  // included: nothing to change

    // a data box never shows more than 769 characters
    l.box.clear();
    l.box.answer(ui::idyes).answer(ui::idok).answer(ui::idno);
    ASSERT_TRUE(l.load(dir.write("long.mp3", frames(4, f128) + filler(1000, 'z'))));
    EXPECT_EQ(l.box.shown[1].text.size(), 769u);

    // 300 bytes between the frames and the tag are not noticed
    l.box.clear();
    ASSERT_TRUE(l.load(dir.write("far.mp3", frames(4, f128) + filler(300, 'w') + id3v1tag())));
    EXPECT_TRUE(l.box.shown.empty());
    EXPECT_EQ(l.file.betweenstart, 0);
    EXPECT_EQ(l.file.footerpos, l.file.filesize - 127);
}

TEST(Trailing, DataAfterTheTagAndDamagedTags)
{
    TempDir dir;
    Loader l;
    l.box.answer(ui::idno).answer(ui::idyes).answer(ui::idno).answer(ui::idno);
    ASSERT_TRUE(l.load(dir.write("after.mp3", frames(4, f128) + id3v1tag() + filler(5, 'q'))));
    ASSERT_EQ(l.box.shown.size(), 4u);
    EXPECT_EQ(l.box.shown[0].text,
              "Data of unknown origin (5 bytes) has been\r\nfound after footer (ID3v1) tag. Display "
              "[some of] it?");
    EXPECT_NE(l.box.shown[2].text.find("(133 bytes) has been found on the file end"), std::string::npos);
    EXPECT_TRUE(l.file.includeafter);
    EXPECT_EQ(l.file.afterstart, 4 * 417 + 129);
    EXPECT_EQ(l.file.footerpos, l.file.filesize);

    l.box.clear();
    l.box.answer(ui::idok).answer(ui::idno).answer(ui::idno);
    Bytes shorttag = id3v1tag();
    shorttag.resize(100);
    ASSERT_TRUE(l.load(dir.write("short.mp3", frames(4, f128) + shorttag)));
    EXPECT_EQ(l.box.shown[0].text, "Damaged footer (ID3v1) tag!\r\nIt will not be written to output file.");
    EXPECT_EQ(l.box.shown[0].caption, "Warning");
    EXPECT_TRUE(l.form.Foottagcheck.checked());
    EXPECT_FALSE(l.form.Foottagcheck.enabled());

    // Cancel in any data question: no file loaded and no error box
    l.box.clear();
    l.box.answer(ui::idcancel);
    EXPECT_FALSE(l.load(dir.write("cancel.mp3", frames(4, f128) + filler(20, 'y'))));
    EXPECT_EQ(l.box.shown.size(), 1u);
    EXPECT_EQ(l.form.infolabel.caption(), "no file loaded");
}

TEST(Trailing, DamageNearTheEndIsTruncatedAndEarlierDamageFails)
{
    TempDir dir;
    Loader l;
    l.setpolicy(ErrorPolicy::Attempt);
    // 400 frames, then 3000 bytes with no sync (damage at 98.2 %), then a tag
    // too far behind the damage to be found
    Bytes tail = frames(400, f128) + filler(3000, 0x11) + id3v1tag();
    std::string p = dir.write("tail.mp3", tail);
    l.box.answer(ui::idno).answer(ui::idok);
    ASSERT_TRUE(l.load(p));
    ASSERT_EQ(l.box.shown.size(), 2u);
    EXPECT_NE(l.box.shown[0].text.find("Large amount of data which can't be interpretted"), std::string::npos);
    EXPECT_EQ(l.box.shown[1].text, "Truncate the file or cancel?");
    EXPECT_EQ(l.box.shown[1].style, 65);
    EXPECT_EQ(l.file.afterstart, 400 * 417 + 1);
    EXPECT_FALSE(l.file.includeafter);
    EXPECT_FALSE(l.file.footerfound);

    l.box.clear();
    l.box.answer(ui::idno).answer(ui::idcancel);
    EXPECT_FALSE(l.load(p));

    l.box.clear();
    l.box.answer(ui::idok);
    Bytes early = frames(10, f128) + filler(4000, 0x11) + frames(300, f128);
    EXPECT_FALSE(l.load(dir.write("early.mp3", early)));
    EXPECT_EQ(l.box.shown.back().text, std::string(errorprefix) + "Improper frame size");
}

TEST(Trailing, SummaryTextsAndBoxes)
{
    TempDir dir;
    Loader l;
    // 7091 frames at 44.1 kHz = 185.23 s
    ASSERT_TRUE(l.load(dir.write("long.mp3", frames(7091, f128))));
    EXPECT_EQ(l.form.infolabel.caption(), "44.1 KHz, 128 kbps, 3:05.2, joint stereo");
    EXPECT_EQ(l.form.kbpslabel9.color(), ui::dominantcolor);
    EXPECT_EQ(l.form.kbpslabel9.caption(), " 128 kbps frames:7091");
    EXPECT_EQ(l.form.kbpslabel0.caption(), "free kbps frames:0");
    // 1742 frames at 48 kHz = 41.808 s; stereo
    FrameSpec s48 = f128;
    s48.rate = 4;
    s48.mode = 0x00;
    ASSERT_TRUE(l.load(dir.write("s48.mp3", frames(1742, s48))));
    EXPECT_EQ(l.form.infolabel.caption(), "48 KHz, 128 kbps, 41.808, stereo");
    EXPECT_EQ(l.form.kbpslabel9.color(), ui::dominantcolor);
    // two rates: no shaded label
    FrameSpec f64 = f128;
    f64.bitrateindex = 5;
    ASSERT_TRUE(l.load(dir.write("two.mp3", frames(3, f128) + frames(3, f64))));
    EXPECT_EQ(l.form.kbpslabel9.color(), ui::windowcolor);
    EXPECT_EQ(l.form.kbpslabel5.color(), ui::windowcolor);
}
