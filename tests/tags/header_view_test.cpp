#include "tag_bytes.h"

using namespace tagtest;
using qctest::Bytes;
using qctest::TempDir;

namespace {

constexpr const char* caption = "ID3v2 (header) TAG CONTENT";

const Bytes audio = qctest::frames(4, qctest::FrameSpec{});

// The frames in a tag with zero padding, then audio.
ViewRun viewheader(const TempDir& dir, const Bytes& frames, std::size_t padding = 64)
{
    std::string path = dir.write("header.mp3", headertag(frames + Bytes(padding, 0)) + audio);
    return runview(View::Header, path);
}

std::string titleline(const std::string& text)
{
    return "Title: " + text + "\r\n";
}

}  // namespace

TEST(HeaderView, ShowsOneLinePerFrameWithTheControlBytesLeftOut)
{
    TempDir dir;
    Bytes frames = textframe("TIT2", "Hello World") + textframe("TPE1", "   Spaced Out  ") +
                   id3frame("COMM", Bytes{0} + bytes("eng") + Bytes{0} + bytes("line one\r\nline two")) +
                   id3frame("TALB", {}) +
                   id3frame("TPE2", Bytes{1, 0xFF, 0xFE, 'B', 0, 'a', 0, 'n', 0, 'd', 0, 0, 0});
    // the comment's language apart from its text; UTF-16 decoded
    EXPECT_TRUE(showedtag(viewheader(dir, frames), caption,
                          "Title: Hello World\r\nPerformer: Spaced Out\r\n"
                          "Comment: [eng] line oneline two\r\nAlbum: \r\nBand: Band\r\n"));
}

// Each text frame is decoded by its declared encoding, a comment shows its
// language and description apart from its text, and the view's limits count
// characters, not bytes.
TEST(HeaderView, TextIsDecodedByItsDeclaredEncoding)
{
    TempDir dir;
    auto utf16le = [](const std::u16string& s) {
        Bytes b{0xFF, 0xFE};
        for (char16_t c : s) {
            b.push_back(static_cast<std::uint8_t>(c & 0xFF));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return b;
    };
    auto utf16be = [](const std::u16string& s) {
        Bytes b;
        for (char16_t c : s) {
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c & 0xFF));
        }
        return b;
    };
    Bytes frames = id3frame("TIT2", Bytes{1} + utf16le(u"Caf\u00E9 M\u00FCller") + Bytes{0, 0}) +
                   id3frame("TPE1", Bytes{2} + utf16be(u"\u0411\u044C\u043E\u0440\u043A")) +
                   id3frame("TALB", Bytes{3} + bytes("\xE6\x97\xA5\xE6\x9C\xAC")) +
                   id3frame("TCOM", Bytes{0} + bytes("Dvo\xF8\xE1k")) +
                   id3frame("COMM", Bytes{1} + bytes("deu") + utf16le(u"Notiz") + Bytes{0, 0} + utf16le(u"Kommentar")) +
                   id3frame("COMM", Bytes{0} + bytes("eng") + Bytes{0} + bytes("plain")) +
                   id3frame("TXXX", Bytes{0} + bytes("MOOD") + Bytes{0} + bytes("calm")) +
                   id3frame("WOAR", Bytes{0} + bytes("http://example.org/"));
    const ViewRun run = viewheader(dir, frames);
    // the box is told that the text is UTF-8, not bytes to show one by one
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_TRUE(run.shown[0].utf8);
    EXPECT_TRUE(showedtag(run, caption,
                          "Title: Caf\u00E9 M\u00FCller\r\n"
                          "Performer: \u0411\u044C\u043E\u0440\u043A\r\n"
                          "Album: \u65E5\u672C\r\n"
                          "Composer: Dvo\u00F8\u00E1k\r\n"
                          "Comment: [deu] Notiz: Kommentar\r\n"
                          "Comment: [eng] plain\r\n"
                          "User-defined text information frame: MOOD: calm\r\n"
                          "Official performer webpage: http://example.org/\r\n"));

    // 300 two-byte characters: 255 of them are kept, not 255 bytes
    std::u16string wide(300, u'\u00E9');
    EXPECT_TRUE(showedtag(viewheader(dir, id3frame("TIT2", Bytes{1} + utf16le(wide))), caption,
                          titleline([] {
                              std::string s;
                              for (int i = 0; i < 255; ++i)
                                  s += "\u00E9";
                              return s;
                          }())));
}

TEST(HeaderView, DescribesEveryFrameByTheTableOrByItsOwnIdentifier)
{
    TempDir dir;
    Bytes frames = textframe("SYTC", "a") + textframe("TOAL", "b") + textframe("WCOP", "c") +
                   textframe("AENC", "d") + textframe("USLT", "e") + textframe("XYZ1", "f") +
                   textframe("tit2", "g") + textframe(" AB ", "h") + textframe(std::string("Q\0RS", 4), "i") +
                   textframe("WXXX", "j");
    EXPECT_TRUE(showedtag(viewheader(dir, frames), caption,
                          "Album: a\r\nAlbum: b\r\nCopyright: c\r\nAENC audio encryption: d\r\n"
                          "Unsychronized lyrics: e\r\nXYZ1: f\r\ntit2: g\r\nAB: h\r\nQ: i\r\n"
                          "User defined URL link frame: j\r\n"));
}

TEST(HeaderView, FramesOver768BytesAreListedButNotShown)
{
    TempDir dir;
    std::string c767(767, 'x');
    c767.replace(0, 5, "     ");  // cut to 255 characters first, then trimmed
    Bytes frames = id3frame("TIT2", Bytes{0} + bytes(c767)) + id3frame("TIT3", Bytes(769, 'y')) +
                   id3frame("APIC", Bytes(5000, 0x89)) + textframe("TRCK", "7");
    EXPECT_TRUE(showedtag(viewheader(dir, frames), caption,
                          titleline(std::string(250, 'x')) +
                              "Subtitle: (too large, can't display)\r\n"
                              "Attached picture: (too large, can't display)\r\nTrack number: 7\r\n"));

    // a first size byte that is not zero marks the frame as too large but is
    // not part of the size: the next frame starts after the other three bytes
    Bytes marked = id3frame("PRIV", bytes("abc"), -1, 1) + textframe("TYER", "2020");
    EXPECT_TRUE(showedtag(viewheader(dir, marked), caption,
                          "Private frame: (too large, can't display)\r\nYear: 2020\r\n"));
}

TEST(HeaderView, ListEndsAtPaddingAudioOrTheEndOfTheFile)
{
    TempDir dir;
    // padding where the first frame would be: an empty box
    EXPECT_TRUE(showedtag(viewheader(dir, {}), caption, ""));

    // no padding: the audio's sync byte ends the list
    Bytes two = textframe("TIT2", "one") + textframe("TPE1", "two");
    EXPECT_TRUE(showedtag(viewheader(dir, two, 0), caption, "Title: one\r\nPerformer: two\r\n"));

    // the tag is the whole file and ends exactly after its last frame
    std::string bare = dir.write("bare.mp3", headertag(two));
    EXPECT_TRUE(showedtag(runview(View::Header, bare), caption, "Title: one\r\nPerformer: two\r\n"));

    // a too-large frame whose size points past the end of the file ends the list
    std::string past = dir.write("past.mp3", headertag(textframe("TIT2", "one") +
                                                       id3frame("APIC", Bytes(20, 1), 100000)));
    EXPECT_TRUE(showedtag(runview(View::Header, past), caption,
                          "Title: one\r\nAttached picture: (too large, can't display)\r\n"));
}

TEST(HeaderView, AFrameNamedZK7xEndsTheListWithoutItsLine)
{
    TempDir dir;
    Bytes before = textframe("TIT2", "one") + textframe("TPE1", "two");
    EXPECT_TRUE(showedtag(viewheader(dir, before + textframe("ZK7x", "hidden") + textframe("TALB", "x")),
                          caption, "Title: one\r\nPerformer: two\r\n"));
    EXPECT_TRUE(showedtag(viewheader(dir, before + id3frame("ZK7x", Bytes(900, 'z'))), caption,
                          "Title: one\r\nPerformer: two\r\n"));
    // only that exact identifier: the comparison is case-sensitive
    EXPECT_TRUE(showedtag(viewheader(dir, textframe("zk7x", "shown")), caption, "zk7x: shown\r\n"));
}

TEST(HeaderView, ListsAtMost25Frames)
{
    TempDir dir;
    Bytes thirty, twentyfive, twentyfour;
    std::string lines25, lines24;
    for (int i = 0; i < 30; ++i) {
        Bytes f = textframe("TIT2", std::to_string(i));
        thirty = thirty + f;
        if (i < 25) {
            twentyfive = twentyfive + f;
            lines25 += titleline(std::to_string(i));
        }
        if (i < 24) {
            twentyfour = twentyfour + f;
            lines24 += titleline(std::to_string(i));
        }
    }
    EXPECT_TRUE(showedtag(viewheader(dir, thirty), caption, lines25 + "..."));
    // "..." follows the 25th frame even when nothing comes after it
    EXPECT_TRUE(showedtag(viewheader(dir, twentyfive), caption, lines25 + "..."));
    EXPECT_TRUE(showedtag(viewheader(dir, twentyfour), caption, lines24));
    // a too-large frame counts as well
    Bytes withlarge = twentyfour + id3frame("APIC", Bytes(800, 1)) + textframe("TALB", "late");
    EXPECT_TRUE(showedtag(viewheader(dir, withlarge), caption,
                          lines24 + "Attached picture: (too large, can't display)\r\n..."));
}

TEST(HeaderView, TextOver767CharactersIsCutTo764AndMarked)
{
    TempDir dir;
    // each line "Title: " + content + "\r\n" is 9 characters plus the content
    auto lines = [&](std::initializer_list<std::size_t> sizes, Bytes& frames) {
        std::string text;
        char c = 'a';
        for (std::size_t n : sizes) {
            frames = frames + textframe("TIT2", std::string(n, c));
            text += titleline(std::string(n, c++));
        }
        return text;
    };
    Bytes exact;
    std::string text767 = lines({255, 255, 230}, exact);  // 767 characters: kept whole
    ASSERT_EQ(text767.size(), 767u);
    EXPECT_TRUE(showedtag(viewheader(dir, exact), caption, text767));

    Bytes over;
    std::string text768 = lines({255, 255, 231, 10}, over);
    EXPECT_TRUE(showedtag(viewheader(dir, over), caption, text768.substr(0, 764) + " ..."));

    // the cut ends the list: the fourth frame is not read at all, and a long
    // third line is not the end of the text either
    Bytes far;
    std::string text = lines({255, 255, 255}, far);
    far = far + id3frame("TIT3", Bytes(10, 'q'), 600);  // content would run past the end
    std::string path = dir.write("far.mp3", headertag(far));
    EXPECT_TRUE(showedtag(runview(View::Header, path), caption, text.substr(0, 764) + " ..."));
}

TEST(HeaderView, ATagThatIsNoLongerWholeShowsOnlyTheDiskError)
{
    TempDir dir;
    Bytes frames = textframe("TIT2", "one") + textframe("TPE1", "two");
    Bytes whole = headertag(frames) + audio;

    // a frame header cut off by the end of the file
    std::size_t headerend = 10 + textframe("TIT2", "one").size() + 6;
    std::string cut = dir.write("cut.mp3", Bytes(whole.begin(), whole.begin() + static_cast<long>(headerend)));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, cut)));
    // ... even after its first byte, the last of the file
    std::string onebyte = dir.write("onebyte.mp3", headertag(frames) + bytes("T"));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, onebyte)));
    // frame content that runs past the end of the file
    std::string content = dir.write("content.mp3", headertag(textframe("TIT2", "one") +
                                                             id3frame("TPE1", bytes("abc"), 300)));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, content)));
    // the content is read before the identifier is looked at
    std::string zk = dir.write("zk.mp3", headertag(id3frame("ZK7x", bytes("abc"), 300)));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, zk)));
    // replaced by a file without the tag, emptied, or moved away
    EXPECT_TRUE(showeddiskerror(runview(View::Header, dir.write("audio.mp3", audio))));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, dir.write("empty.mp3", {}))));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, dir.write("id.mp3", bytes("ID")))));
    EXPECT_TRUE(showeddiskerror(runview(View::Header, dir.path("missing.mp3"))));

    // the next view of a good file works again
    EXPECT_TRUE(showedtag(runview(View::Header, dir.write("good.mp3", whole)), caption,
                          "Title: one\r\nPerformer: two\r\n"));
}
