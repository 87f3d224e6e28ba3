// The length an ID3v2 tag states (TLEN), made to state an exact output's.
#include <gtest/gtest.h>

#include "tag_bytes.h"
#include "tags/id3v2_frames.h"
#include "tags/tag_length.h"

using namespace tagtest;

namespace {

// A version 2.4 frame: sync-safe size, then the format flags given.
Bytes frame24(const std::string& id, const Bytes& content, std::uint8_t format = 0)
{
    auto n = static_cast<std::uint32_t>(content.size());
    return bytes(id) + Bytes{static_cast<std::uint8_t>((n >> 21) & 0x7F), static_cast<std::uint8_t>((n >> 14) & 0x7F),
                             static_cast<std::uint8_t>((n >> 7) & 0x7F), static_cast<std::uint8_t>(n & 0x7F), 0,
                             format} +
           content;
}

Bytes tag(int version, const Bytes& body, std::uint8_t flags = 0)
{
    Bytes t = headertag(body);
    t[3] = static_cast<std::uint8_t>(version);
    t[5] = flags;
    return t;
}

// The TLEN text and the other frames' ids, read back by the frame reader.
struct Stated {
    std::string tlen;
    std::vector<std::string> ids;
};
Stated readback(const Bytes& t)
{
    Stated s;
    std::optional<qc::Id3v2Frames> frames = qc::readid3v2frames(t);
    if (!frames)
        return s;
    for (const qc::Id3v2Frame& f : frames->frames) {
        if (f.id == "TLEN" || f.id == "TLE")
            s.tlen = f.text.value_or("?");
        else
            s.ids.push_back(f.id);
    }
    return s;
}

}  // namespace

TEST(TagLength, TheNumberIsWrittenOverTheOldOneWhereItFits)
{
    const Bytes body = textframe("TIT2", "Song") + textframe("TLEN", "24000") + textframe("TPE1", "Band") + Bytes(20, 0);
    const Bytes source = tag(3, body);
    std::optional<Bytes> out = qc::withlength(source, 20558);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), source.size());
    EXPECT_EQ(readback(*out).tlen, "20558");
    EXPECT_EQ(readback(*out).ids, (std::vector<std::string>{"TIT2", "TPE1"}));
    // fewer digits: leading zeros, the frame keeps its size
    out = qc::withlength(source, 500);
    ASSERT_TRUE(out);
    EXPECT_EQ(readback(*out).tlen, "00500");
    EXPECT_EQ(out->size(), source.size());

    // UTF-16 text is written over as ISO-8859-1
    const Bytes utf16 = tag(3, id3frame("TLEN", Bytes{1, 0xFF, 0xFE, '9', 0, '9', 0, 0, 0}) + Bytes(4, 0));
    out = qc::withlength(utf16, 1234);
    ASSERT_TRUE(out);
    EXPECT_EQ(readback(*out).tlen, "00001234");

    // version 2.4 (sync-safe sizes) and 2.2 ("TLE", 3-byte sizes)
    out = qc::withlength(tag(4, frame24("TLEN", Bytes{0} + bytes("100000")) + frame24("TIT2", Bytes{3} + bytes("x"))), 42);
    ASSERT_TRUE(out);
    EXPECT_EQ(readback(*out).tlen, "000042");
    const Bytes tle = bytes("TLE") + Bytes{0, 0, 6, 0} + bytes("12345");
    out = qc::withlength(tag(2, tle + Bytes(8, 0)), 777);
    ASSERT_TRUE(out);
    EXPECT_EQ(readback(*out).tlen, "00777");
}

TEST(TagLength, AFrameTooShortOrStoredOtherwiseIsTakenOutAndBecomesPadding)
{
    // "9" leaves no room for five digits
    const Bytes source = tag(3, textframe("TIT2", "Song") + textframe("TLEN", "9") + textframe("TPE1", "Band"));
    std::optional<Bytes> out = qc::withlength(source, 20558);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), source.size());
    EXPECT_EQ(readback(*out).tlen, "");
    EXPECT_EQ(readback(*out).ids, (std::vector<std::string>{"TIT2", "TPE1"}));
    EXPECT_EQ(Bytes(out->end() - 12, out->end()), Bytes(12, 0));  // TLEN's 12 bytes, now padding

    // a 2.4 frame with a data length indicator is no plain number
    out = qc::withlength(tag(4, frame24("TIT2", Bytes{3} + bytes("x")) + frame24("TLEN", Bytes{0, 0, 0, 6, 0} + bytes("100000"), 1)), 42);
    ASSERT_TRUE(out);
    EXPECT_EQ(readback(*out).tlen, "");
    EXPECT_EQ(readback(*out).ids, (std::vector<std::string>{"TIT2"}));
}

TEST(TagLength, WhatCannotBeChangedSafelyIsLeftAlone)
{
    EXPECT_FALSE(qc::withlength(tag(3, textframe("TIT2", "Song") + Bytes(10, 0)), 5));  // no TLEN
    EXPECT_FALSE(qc::withlength(tag(3, textframe("TLEN", "24000"), 0x80), 5));          // unsynchronised
    Bytes cut = tag(3, textframe("TLEN", "24000"));
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(qc::withlength(cut, 5));  // shorter than it says
    EXPECT_FALSE(qc::withlength(bytes("TAG") + Bytes(125, 0), 5));
    // a 2.4 tag with a footer has no padding to give a frame that does not fit
    EXPECT_FALSE(qc::withlength(tag(4, frame24("TLEN", Bytes{0} + bytes("9")), 0x10), 20558));
}
