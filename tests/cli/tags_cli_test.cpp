#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/cli_run.h"
#include "support/harness.h"

using namespace qctest;
using json = nlohmann::json;

namespace {

std::vector<json> jsonlines(const std::string& out)
{
    std::vector<json> v;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            v.push_back(json::parse(line));
    return v;
}

std::string shellword(const std::string& path)
{
    return "'" + path + "'";
}

const std::string diskerror = "Disk error - maybe file was moved or  modified in the meantime?";

// Loads, but its second ID3v2 frame claims 512 bytes, more than the file holds.
std::string unreadabletag(const TempDir& dir)
{
    Bytes body = {'T', 'I', 'T', '2', 0, 0, 0, 4, 0, 0, 0, 'o', 'n', 'e',
                  'T', 'P', 'E', '1', 0, 0, 2, 0, 0, 0, 0, 'a', 'b'};
    Bytes tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(body.size())};
    FrameSpec small;
    small.bitrateindex = 1;  // 32 kbps: 104 bytes a frame, 312 in all
    return dir.write("unreadable.mp3", tag + body + frames(3, small));
}

}  // namespace

TEST(TagsCli, PrintsEachTagUnderItsBoxCaption)
{
    std::string tagged = fixturepath("tags/id3v2tool.mp3");
    std::string plain = samplepath("tone32-crc.mp3");
    CliResult r = runcli("tags " + shellword(tagged) + " " + shellword(plain));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, tagged + "\n"
                     "ID3v2 (header) TAG CONTENT\n"
                     "Performer: The Performer\nTitle: A Title\nAlbum: An Album\nYear: 2021\n"
                     "Comment: A comment\nTrack number: 5\nGenre: (17)\n"
                     "ID3v1 (footer) TAG CONTENT\n"
                     "Title: A Title\nPerformer: The Performer\nAlbum: An Album\nYear: 2021\n"
                     "Comment: A comment\nGenre: Rock\n" +
                         plain + "\nno tags\n");
}

// The text output shows the ID3v2 view decoded, as the window does (UTF-16
// with a byte-order mark here), and the ID3v1 view's bytes as characters.
TEST(TagsCli, TheTextOutputDecodesTheId3v2View)
{
    std::string tagged = fixturepath("tags/eyed3-v23-bigpicture.mp3");
    CliResult r = runcli("tags " + shellword(tagged));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, tagged + "\n"
                     "ID3v2 (header) TAG CONTENT\n"
                     "Attached picture: (too large, can't display)\nAlbum: Album Three\n"
                     "Title: Title Three\nPerformer: Artist Three\n");
}

TEST(TagsCli, JsonHasOneObjectPerFileWithTheBoxTexts)
{
    TempDir dir;
    std::string missing = dir.path("missing.mp3");
    CliResult r = runcli("tags --json " + shellword(fixturepath("tags/id3v2tool.mp3")) + " " +
                         shellword(fixturepath("tags/eyed3-v23-bigpicture.mp3")) + " " +
                         shellword(samplepath("tone48-vbr-mono.mp3")) + " " + shellword(missing));
    EXPECT_EQ(r.status, 1);
    std::vector<json> v = jsonlines(r.out);
    ASSERT_EQ(v.size(), 4u);

    EXPECT_EQ(v[0]["file"], fixturepath("tags/id3v2tool.mp3"));
    EXPECT_EQ(v[0]["views"]["id3v1"], "Title: A Title\r\nPerformer: The Performer\r\nAlbum: An Album\r\n"
                             "Year: 2021\r\nComment: A comment\r\nGenre: Rock");
    EXPECT_TRUE(v[0]["views"]["id3v2"].get<std::string>().starts_with("Performer: The Performer\r\n"));
    EXPECT_TRUE(v[0]["error"].is_null());

    // UTF-16 text with its byte-order mark, decoded as the window's view decodes it
    EXPECT_TRUE(v[1]["id3v1"].is_null());
    EXPECT_EQ(v[1]["views"]["id3v2"], "Attached picture: (too large, can't display)\r\n"
                             "Album: Album Three\r\nTitle: Title Three\r\n"
                             "Performer: Artist Three\r\n");

    EXPECT_TRUE(v[2]["id3v1"].is_null());
    EXPECT_TRUE(v[2]["id3v2"].is_null());
    EXPECT_TRUE(v[2]["error"].is_null());

    // a file that does not load: its load error, and exit status 1
    EXPECT_EQ(v[3]["file"], missing);
    EXPECT_TRUE(v[3]["id3v2"].is_null());
    ASSERT_TRUE(v[3]["error"]["message"].is_string());
    EXPECT_FALSE(v[3]["error"]["message"].get<std::string>().empty());
}

TEST(TagsCli, AnUnreadableTagGivesTheDiskErrorAndAFailingStatus)
{
    TempDir dir;
    std::string path = unreadabletag(dir);
    CliResult text = runcli("tags " + shellword(path));
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, path + "\nID3v2 (header) TAG CONTENT\n" + diskerror + "\n");

    CliResult j = runcli("tags --json " + shellword(path) + " " + shellword(samplepath("tone32-crc.mp3")));
    EXPECT_EQ(j.status, 1);
    std::vector<json> v = jsonlines(j.out);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_TRUE(v[0]["id3v2"].is_null());
    EXPECT_EQ(v[0]["error"]["window"], diskerror);
    EXPECT_TRUE(v[1]["error"].is_null());

    // a name that is not UTF-8 still gives a JSON line
    std::string latin = dir.write("n\xE9.mp3", readbytes(samplepath("tone32-crc.mp3")));
    CliResult named = runcli("tags --json " + shellword(latin));
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(jsonlines(named.out).size(), 1u);

    CliResult missing = runcli("tags " + shellword(dir.path("none.mp3")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("error: "), std::string::npos);
}
