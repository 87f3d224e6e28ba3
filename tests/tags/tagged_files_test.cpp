// Files tagged by real tools, loaded as the window loads them, then viewed by
// clicking the buttons of the main window.
#include <filesystem>

#include "tag_bytes.h"
#include "support/open_files.h"

using namespace qctest;

namespace {

struct Viewer {
    Viewer() : views(l.file, l.box) { views.wire(l.form); }

    // Clicks a view button and returns the one box it showed.
    Box click(ui::Control& button)
    {
        l.box.clear();
        l.box.answer(ui::idok);
        button.click();
        EXPECT_EQ(l.box.shown.size(), 1u);
        EXPECT_FALSE(qctest::openinprocess(l.file.sourcename));
        return l.box.shown.empty() ? Box{} : l.box.shown.back();
    }

    Loader l;
    qc::TagViews views;
};

}  // namespace

TEST(TaggedFiles, Id3v2ToolTagsReadBackAsWritten)
{
    Viewer v;
    ASSERT_TRUE(v.l.load(fixturepath("tags/id3v2tool.mp3")));
    ASSERT_TRUE(v.l.form.vhtbutton.usable());
    ASSERT_TRUE(v.l.form.vftbutton.usable());

    Box head = v.click(v.l.form.vhtbutton);
    EXPECT_EQ(head.caption, "ID3v2 (header) TAG CONTENT");
    EXPECT_EQ(head.style, 64);
    // the comment's language and description bytes are zeros here; the
    // padding after the genre frame ends the list
    EXPECT_EQ(head.text, "Performer: The Performer\r\nTitle: A Title\r\nAlbum: An Album\r\n"
                         "Year: 2021\r\nComment: A comment\r\nTrack number: 5\r\nGenre: (17)\r\n");
    EXPECT_EQ(v.views.tagtext, head.text);

    // a view that failed (the file gone for a moment) leaves nothing
    // pending that makes the next view fail
    const std::string moved = v.l.file.sourcename + ".away";
    std::filesystem::rename(v.l.file.sourcename, moved);
    v.click(v.l.form.vhtbutton);
    ASSERT_TRUE(v.views.readfail);
    std::filesystem::rename(moved, v.l.file.sourcename);
    EXPECT_EQ(v.click(v.l.form.vhtbutton).text, head.text);

    // ID3v1.1: the track number after the comment's terminator is not shown
    Box foot = v.click(v.l.form.vftbutton);
    EXPECT_EQ(foot.caption, "ID3v1 (footer) TAG CONTENT");
    EXPECT_EQ(foot.style, 64);
    EXPECT_EQ(foot.text, "Title: A Title\r\nPerformer: The Performer\r\nAlbum: An Album\r\n"
                         "Year: 2021\r\nComment: A comment\r\nGenre: Rock");
}

TEST(TaggedFiles, EyeD3TagsAreReadInTheVersion23Layout)
{
    Viewer v;
    // version 2.4 with a small picture: sync-safe sizes below 128 read the same
    ASSERT_TRUE(v.l.load(fixturepath("tags/eyed3-v24-picture.mp3")));
    EXPECT_FALSE(v.l.file.footerfound);
    std::string text = v.click(v.l.form.vhtbutton).text;
    // a picture is no text: its bytes as Windows-1252 characters (0x89 is U+2030)
    EXPECT_TRUE(text.starts_with("Attached picture: image/png\u2030PNG")) << text;
    EXPECT_TRUE(text.ends_with("\r\nTitle: Title Four\r\nPerformer: Artist Four\r\n")) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);

    // version 2.3 with a 3 KB picture, then UTF-16 text with its byte-order
    // mark, decoded
    ASSERT_TRUE(v.l.load(fixturepath("tags/eyed3-v23-bigpicture.mp3")));
    EXPECT_EQ(v.click(v.l.form.vhtbutton).text,
              "Attached picture: (too large, can't display)\r\nAlbum: Album Three\r\n"
              "Title: Title Three\r\nPerformer: Artist Three\r\n");
}

TEST(TaggedFiles, AFileChangedAfterTheLoadShowsTheDiskError)
{
    Viewer v;
    TempDir dir;
    Bytes original = readbytes(fixturepath("tags/id3v2tool.mp3"));
    std::string path = dir.write("copy.mp3", original);
    ASSERT_TRUE(v.l.load(path));

    // shortened by 100 bytes: the footer tag is no longer where it was
    std::filesystem::resize_file(path, original.size() - 100);
    Box foot = v.click(v.l.form.vftbutton);
    EXPECT_EQ(foot.caption, "Error");
    EXPECT_EQ(foot.text, "Disk error - maybe file was moved or  modified in the meantime?");
    EXPECT_TRUE(v.views.readfail);
    // the header tag is still whole
    EXPECT_EQ(v.click(v.l.form.vhtbutton).caption, "ID3v2 (header) TAG CONTENT");
    EXPECT_FALSE(v.views.readfail);

    // shortened into the header tag's frames
    std::filesystem::resize_file(path, 40);
    EXPECT_EQ(v.click(v.l.form.vhtbutton).caption, "Error");
    std::filesystem::remove(path);
    EXPECT_EQ(v.click(v.l.form.vhtbutton).caption, "Error");
    EXPECT_EQ(v.click(v.l.form.vftbutton).caption, "Error");
}
