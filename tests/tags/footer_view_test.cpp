#include <filesystem>

#include "tag_bytes.h"
#include "tags/genres.h"

using namespace tagtest;
using qctest::Bytes;
using qctest::TempDir;

namespace {

constexpr const char* caption = "ID3v1 (footer) TAG CONTENT";

// Audio, then the footer tag as the last 128 bytes; returns the view of it.
ViewRun viewfooter(const TempDir& dir, const Footer& f)
{
    Bytes audio = qctest::frames(3, qctest::FrameSpec{});
    std::string path = dir.write("footer.mp3", audio + footertag(f));
    return runview(View::Footer, path, static_cast<std::int32_t>(audio.size()) + 1);
}

}  // namespace

TEST(FooterView, ShowsEveryFieldOnItsOwnLineWithTheGenreLast)
{
    TempDir dir;
    Footer f;
    f.title = field("Title thirty characters long!!");  // no terminator in the field
    f.performer = field("Someone");
    f.album = field("Record");
    f.year = field("1999", 4);
    f.comment = field("Nice");
    f.genre = 17;
    EXPECT_TRUE(showedtag(viewfooter(dir, f), caption,
                          "Title: Title thirty characters long!!\r\nPerformer: Someone\r\n"
                          "Album: Record\r\nYear: 1999\r\nComment: Nice\r\nGenre: Rock"));
}

TEST(FooterView, EmptyFieldsLeaveNoLinesAndNoLeadingSeparator)
{
    TempDir dir;
    Footer f;
    f.performer = field("Band");
    f.genre = 0;
    EXPECT_TRUE(showedtag(viewfooter(dir, f), caption, "Performer: Band\r\nGenre: Blues"));

    Footer blank;
    blank.title = field(std::string(30, ' '));
    blank.album = field("   ");
    blank.year = field("    ", 4);
    EXPECT_TRUE(showedtag(viewfooter(dir, blank), caption, "Genre: unknown"));

    Footer yearonly;
    yearonly.year = field("2001", 4);
    yearonly.genre = 147;
    EXPECT_TRUE(showedtag(viewfooter(dir, yearonly), caption, "Year: 2001\r\nGenre: Synthpop"));
}

TEST(FooterView, FieldTextSkipsLeadingZerosStopsAtTheNextZeroAndDropsBlanks)
{
    TempDir dir;
    Footer f;
    f.title = field("   word   ");                                   // blanks around, zeros after
    f.performer = field(Bytes{0, 0, 0, 'l', 'a', 't', 'e', 0, 'x'});  // zeros before the text
    f.album = field(bytes("one") + Bytes{0} + bytes("two"));          // the first zero ends it
    Bytes track(30, 0);
    track[29] = 5;  // ID3v1.1 track number behind 28 zeros (and the zero before it)
    f.comment = track;
    f.genre = 148;
    EXPECT_TRUE(showedtag(viewfooter(dir, f), caption,
                          "Title: word\r\nPerformer: late\r\nAlbum: one\r\nComment: \x05\r\n"
                          "Genre: unknown (148)"));

    // control characters and high bytes are shown as they are; tabs are not blanks
    Footer raw;
    raw.title = field("\tA\xE9\t");
    raw.genre = 200;
    const ViewRun run = viewfooter(dir, raw);
    EXPECT_TRUE(showedtag(run, caption, "Title: \tA\xE9\t\r\nGenre: unknown (200)"));
    // bytes, each a Windows-1252 character when shown: not UTF-8
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_FALSE(run.shown[0].utf8);
}

TEST(FooterView, GenreNamesFollowTheListWithThisProgramsSpellings)
{
    const std::pair<int, const char*> named[] = {
        {0, "Blues"},        {14, "R&B"},          {29, "Jazz+Funk"},      {40, "AlternRock"},
        {60, "Top 40"},      {62, "Pop/Funk"},     {67, "Psychadelic"},    {78, "Rock & Roll"},
        {79, "Hard Rock"},   {80, "Folk"},         {85, "Bebob"},          {100, "Humour"},
        {123, "Acapella"},   {127, "Drum & Bass"}, {132, "BritPop"},       {136, "Christian Gangs"},
        {137, "Heavy Metal"}, {144, "Trash Metal"}, {146, "Jpop"},          {147, "Synthpop"},
    };
    for (auto [n, name] : named)
        EXPECT_EQ(qc::genrename(static_cast<std::uint8_t>(n)), name) << n;
    EXPECT_EQ(qc::genrename(148), "unknown (148)");
    EXPECT_EQ(qc::genrename(254), "unknown (254)");
    EXPECT_EQ(qc::genrename(255), "unknown");
    for (int n = 0; n <= 147; ++n) {
        std::string name = qc::genrename(static_cast<std::uint8_t>(n));
        EXPECT_FALSE(name.empty() || name.starts_with("unknown")) << n;
    }
}

TEST(FooterView, ATagThatIsNoLongerThereShowsOnlyTheDiskError)
{
    TempDir dir;
    Footer f;
    f.title = field("Gone");
    Bytes audio = qctest::frames(3, qctest::FrameSpec{});
    auto pos = static_cast<std::int32_t>(audio.size()) + 1;
    Bytes whole = audio + footertag(f);

    // shortened after the load: the tag is cut off in the middle
    std::string cut = dir.write("cut.mp3", Bytes(whole.begin(), whole.begin() + pos + 60));
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, cut, pos)));
    // cut off just before the genre byte: no partial text is shown
    std::string nogenre = dir.write("nogenre.mp3", Bytes(whole.begin(), whole.end() - 1));
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, nogenre, pos)));
    // shortened to end before the tag
    std::string shorter = dir.write("short.mp3", audio);
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, shorter, pos)));
    // replaced: no "TAG" where the tag was (the check is case-sensitive)
    Bytes lower = whole;
    lower[static_cast<std::size_t>(pos) - 1] = 't';
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, dir.write("lower.mp3", lower), pos)));
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, dir.write("moved.mp3", whole), pos - 1)));
    // moved away; a read-only file is read as any other (the view opens the
    // file for reading, as the loader does)
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, dir.path("missing.mp3"), pos)));
    std::string readonly = dir.write("readonly.mp3", whole);
    std::filesystem::permissions(readonly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read);
    EXPECT_TRUE(showedtag(runview(View::Footer, readonly, pos), caption, "Title: Gone\r\nGenre: unknown"));
    // a position before the file's start is refused, not read
    EXPECT_TRUE(showeddiskerror(runview(View::Footer, dir.write("zero.mp3", whole), 0)));

    // after a failure the next view of a good file works again
    EXPECT_TRUE(showedtag(runview(View::Footer, dir.write("good.mp3", whole), pos), caption,
                          "Title: Gone\r\nGenre: unknown"));
}
