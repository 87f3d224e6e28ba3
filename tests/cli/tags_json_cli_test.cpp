// tags --json: the ID3v2 frames decoded from their declared encodings, the
// ID3v1 fields, null for an absent tag.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_run.h"
#include "support/harness.h"

namespace {

using namespace qctest;
using json = nlohmann::json;

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes syncsafe(std::size_t n)
{
    return {static_cast<std::uint8_t>(n >> 21 & 0x7F), static_cast<std::uint8_t>(n >> 14 & 0x7F),
            static_cast<std::uint8_t>(n >> 7 & 0x7F), static_cast<std::uint8_t>(n & 0x7F)};
}

Bytes plainsize(std::size_t n)
{
    return {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n)};
}

Bytes v2frame(int version, const std::string& id, const Bytes& content)
{
    return text(id) + (version == 4 ? syncsafe(content.size()) : plainsize(content.size())) + Bytes{0, 0} + content;
}

Bytes v2tag(int version, const Bytes& frames, std::size_t padding = 16)
{
    Bytes body = frames + Bytes(padding, 0);
    return Bytes{'I', 'D', '3', static_cast<std::uint8_t>(version), 0, 0} + syncsafe(body.size()) + body;
}

json tagsjson(const TempDir& dir, const Bytes& file)
{
    CliResult r = runcli("tags --json '" + dir.write("t.mp3", file) + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return json::parse(r.out);
}

TEST(TagsJson, TextsAreDecodedFromTheirDeclaredEncoding)
{
    TempDir dir;
    // "Café" in ISO-8859-1; "Ünï" and a character beyond the BMP (U+1F3B5) in
    // UTF-16 with either byte-order mark
    const Bytes v23 = v2frame(3, "TIT2", Bytes{0} + text("Caf") + Bytes{0xE9}) +
                      v2frame(3, "TPE1", Bytes{1, 0xFF, 0xFE, 0xDC, 0, 0x6E, 0, 0xEF, 0, 0x3C, 0xD8, 0xB5, 0xDF, 0, 0}) +
                      v2frame(3, "TALB", Bytes{1, 0xFE, 0xFF, 0, 0xDC, 0, 0x6E, 0, 0xEF}) +
                      v2frame(3, "COMM", Bytes{0} + text("eng") + text("short") + Bytes{0} + text("long text")) +
                      v2frame(3, "APIC", Bytes{0} + text("image/png") + Bytes{0, 3, 0, 0x89, 'P', 'N', 'G'});
    json j = tagsjson(dir, v2tag(3, v23) + frames(3, FrameSpec{}));
    ASSERT_TRUE(j["id3v2"].is_object()) << j;
    EXPECT_EQ(j["id3v2"]["version"], "2.3.0");
    const json& f = j["id3v2"]["frames"];
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], json::parse(R"({"id":"TIT2","description":"Title","text":"Café"})"));
    EXPECT_EQ(f[1]["text"], "Ünï\U0001F3B5");
    EXPECT_EQ(f[1]["description"], "Performer");
    EXPECT_EQ(f[2]["text"], "Ünï");
    EXPECT_EQ(f[3]["text"], "long text");
    EXPECT_EQ(f[3]["content_description"], "short");
    EXPECT_TRUE(f[4]["text"].is_null());
    EXPECT_TRUE(j["id3v1"].is_null());
    EXPECT_TRUE(j["error"].is_null());
    // the window's view keeps showing the bytes as they are
    EXPECT_NE(j["views"]["id3v2"].get<std::string>().find("Title: Caf\u00E9"), std::string::npos);

    // 2.4: sync-safe sizes, UTF-16BE and UTF-8, several values in one frame
    const Bytes v24 = v2frame(4, "TIT2", Bytes{2, 0, 0xDC, 0, 0x6E}) +
                      v2frame(4, "TPE1", Bytes{3} + text("Bj\xC3\xB6rk") + Bytes{0} + text("Guest")) +
                      v2frame(4, "TXXX", Bytes{3} + text("MOOD") + Bytes{0} + text("calm")) +
                      v2frame(4, "TCOM", Bytes{3} + Bytes(200, 'x'));
    j = tagsjson(dir, v2tag(4, v24) + frames(3, FrameSpec{}));
    EXPECT_EQ(j["id3v2"]["version"], "2.4.0");
    const json& g = j["id3v2"]["frames"];
    ASSERT_EQ(g.size(), 4u) << j;
    EXPECT_EQ(g[0]["text"], "Ün");
    EXPECT_EQ(g[1]["text"], "Björk/Guest");
    EXPECT_EQ(g[2]["content_description"], "MOOD");
    EXPECT_EQ(g[2]["text"], "calm");
    EXPECT_EQ(g[3]["text"], std::string(200, 'x'));  // 200 > 127: its size is sync-safe

    // what cannot be decoded becomes U+FFFD, never invalid JSON
    j = tagsjson(dir, v2tag(3, v2frame(3, "TIT2", Bytes{3, 'a', 0xC3, 0x28, 0xFF})) + frames(3, FrameSpec{}));
    EXPECT_EQ(j["id3v2"]["frames"][0]["text"], "a\uFFFD(\uFFFD");
}

TEST(TagsJson, Id3v1FieldsWithTheTrackNumber)
{
    TempDir dir;
    Bytes tag = text("TAG") + text("Caf\xE9 Song") + Bytes(21, 0) + text("Someone") + Bytes(23, ' ') +
                text("Album") + Bytes(25, 0) + text("1999") + text("A comment") + Bytes(19, 0) + Bytes{0, 7} +
                Bytes{17};
    ASSERT_EQ(tag.size(), 128u);
    json j = tagsjson(dir, frames(4, FrameSpec{}) + tag);
    EXPECT_TRUE(j["id3v2"].is_null());
    EXPECT_EQ(j["id3v1"], json::parse(R"({"title":"Café Song","artist":"Someone","album":"Album","year":"1999",)"
                                      R"("comment":"A comment","track":7,"genre":"Rock"})"));
    // without the zero byte before it, the last byte is the comment's
    tag[125] = 'x';
    tag[126] = 'y';
    j = tagsjson(dir, frames(4, FrameSpec{}) + tag);
    EXPECT_TRUE(j["id3v1"]["track"].is_null());
    EXPECT_EQ(j["id3v1"]["comment"], "A comment");
}

TEST(TagsJson, Id3v1FieldsWhereverTheLoadFoundTheTag)
{
    TempDir dir;
    const Bytes tag = text("TAG") + text("Caf\xE9 Song") + Bytes(21, 0) + text("Someone") + Bytes(23, ' ') +
                      text("Album") + Bytes(25, 0) + text("1999") + text("A comment") + Bytes(21, 0) + Bytes{17};
    ASSERT_EQ(tag.size(), 128u);
    // directly after the frames, with more data behind it
    json j = tagsjson(dir, frames(4, FrameSpec{}) + tag + text("more data after the tag"));
    EXPECT_EQ(j["id3v1"]["title"], "Café Song");
    EXPECT_EQ(j["id3v1"]["genre"], "Rock");
    // cut short by the end of the file inside the album: the fields that are there
    j = tagsjson(dir, frames(4, FrameSpec{}) + Bytes(tag.begin(), tag.begin() + 66));
    EXPECT_EQ(j["id3v1"], json::parse(R"({"title":"Café Song","artist":"Someone","album":"Alb","year":"",)"
                                      R"("comment":"","track":null,"genre":null})"));
}

}  // namespace
