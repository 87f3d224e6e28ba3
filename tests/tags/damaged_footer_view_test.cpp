// The "view" button of a damaged ID3v1 tag (one that the end of the file
// cuts short) shows the bytes of the tag that are there, in the box of the
// whole tag's view.
#include <filesystem>

#include "tag_bytes.h"
#include "support/open_files.h"

using namespace tagtest;
using qctest::Bytes;
using qctest::TempDir;

namespace {

constexpr const char* caption = "ID3v1 (footer) TAG CONTENT";

Bytes fulltag()
{
    Footer f;
    f.title = field("Caf\xe9 M\xfcller");  // Windows-1252 bytes, shown as such by the box
    f.performer = field("Pina");
    f.album = field("Tanz");
    f.year = field("1978", 4);
    f.comment = field("Wuppertal");
    f.genre = 17;
    return footertag(f);
}

// Loads audio + the first keep bytes of a tag + after, then clicks the view.
struct DamagedView {
    explicit DamagedView(std::size_t keep, const Bytes& before = {}, const Bytes& after = {})
    {
        Bytes tag = fulltag();
        tag.resize(keep);
        path = dir.write("cut.mp3", qctest::frames(4, qctest::FrameSpec{}) + before + tag + after);
        load.box.answerall(ui::idno);
        loaded = load.load(path);
    }
    ViewRun click()
    {
        qctest::ScriptedBox box;
        box.answerall(ui::idok);
        qc::TagViews views(load.file, box);
        views.vftbuttonClick();
        return {box.shown, views.tagtext, views.readfail, qctest::openinprocess(path),
                false};
    }
    TempDir dir;
    std::string path;
    qctest::Loader load;
    bool loaded = false;
};

}  // namespace

TEST(DamagedFooterView, ShowsTheFieldsThatAreThereAndAFieldCutShortAsFarAsItGoes)
{
    struct Case {
        std::size_t keep;
        const char* text;
    };
    const Case cases[] = {
        // the whole tag but its genre byte: no genre line
        {127, "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina\r\nAlbum: Tanz\r\nYear: 1978\r\nComment: Wuppertal"},
        // cut inside the album
        {3 + 30 + 30 + 2, "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina\r\nAlbum: Ta"},
        // cut inside the year, the comment and genre gone
        {3 + 90 + 3, "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina\r\nAlbum: Tanz\r\nYear: 197"},
        // "TAG" and a few bytes: the shortest tag the load looks for
        {12, "Title: Caf\xe9 M\xfcll"},
        {9, "Title: Caf\xe9 M"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keep);
        DamagedView v(c.keep);
        ASSERT_TRUE(v.loaded);
        ASSERT_TRUE(v.load.file.footerfound);
        ASSERT_LT(v.load.file.footerspan, 127);
        ASSERT_TRUE(v.load.form.vftbutton.visible());
        EXPECT_TRUE(showedtag(v.click(), caption, c.text));
    }
}

TEST(DamagedFooterView, ATagAfterUnknownDataIsFoundWhereTheLoadFoundIt)
{
    // between the frames and the tag: the load keeps the tag's own position
    DamagedView v(50, qctest::filler(17, 'x'));
    ASSERT_TRUE(v.loaded);
    ASSERT_TRUE(v.load.file.footerfound);
    EXPECT_TRUE(showedtag(v.click(), caption, "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina"));
}

TEST(DamagedFooterView, AFileShortenedSinceTheLoadStillGivesTheDiskError)
{
    DamagedView v(80);
    ASSERT_TRUE(v.loaded);
    std::filesystem::resize_file(v.path, std::filesystem::file_size(v.path) - 10);
    EXPECT_TRUE(showeddiskerror(v.click()));

    // a file that no longer holds "TAG" there
    DamagedView w(80);
    ASSERT_TRUE(w.loaded);
    Bytes changed = qctest::readbytes(w.path);
    changed[changed.size() - 80] = 'X';
    w.dir.write("cut.mp3", changed);
    EXPECT_TRUE(showeddiskerror(w.click()));
}

TEST(DamagedFooterView, AWholeTagStillShowsItsGenreLine)
{
    // the intact tag keeps the text it always had
    DamagedView v(128);
    ASSERT_TRUE(v.loaded);
    ASSERT_EQ(v.load.file.footerspan, 127);
    EXPECT_TRUE(showedtag(v.click(), caption,
                          "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina\r\nAlbum: Tanz\r\nYear: 1978\r\n"
                          "Comment: Wuppertal\r\nGenre: Rock"));
}

TEST(DamagedFooterView, AWholeTagWithDataAfterItIsShownWhereItLies)
{
    // directly after the frames the load moves footerpos on to the end of the
    // data after them; the tag is still where it was found
    DamagedView v(128, {}, qctest::filler(40, 'z'));
    ASSERT_TRUE(v.loaded);
    ASSERT_TRUE(v.load.file.footerfound);
    ASSERT_GT(v.load.file.footerspan, 127);
    const char* whole = "Title: Caf\xe9 M\xfcller\r\nPerformer: Pina\r\nAlbum: Tanz\r\nYear: 1978\r\n"
                        "Comment: Wuppertal\r\nGenre: Rock";
    EXPECT_TRUE(showedtag(v.click(), caption, whole));
    // and after unknown data, where footerpos stays on the tag
    DamagedView w(128, qctest::filler(17, 'x'), qctest::filler(40, 'z'));
    ASSERT_TRUE(w.loaded);
    EXPECT_TRUE(showedtag(w.click(), caption, whole));
}
