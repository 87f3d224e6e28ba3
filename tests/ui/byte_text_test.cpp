// Bytes from files shown as text: one character per byte, never a
// replacement character.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "texts/byte_text.h"

namespace {

// The code points of a UTF-8 text; -1 for a malformed sequence.
std::vector<long> codepoints(const std::string& s)
{
    std::vector<long> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 0;
        if (n == 0 || i + n > s.size())
            return {-1};
        long c = n == 1 ? b : n == 2 ? (b & 0x1F) : (b & 0x0F);
        for (int k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t >> 6) != 2)
                return {-1};
            c = (c << 6) | (t & 0x3F);
        }
        out.push_back(c);
        i += n;
    }
    return out;
}

TEST(ByteText, TagBytesShowAsWindows1252)
{
    EXPECT_EQ(qc::bytestext("Caf\xE9 M\xFCller"), "Café Müller");
    // a UTF-16 byte-order mark is the two characters of its two bytes
    EXPECT_EQ(qc::bytestext("\xFF\xFE"), "ÿþ");
    EXPECT_EQ(qc::bytestext("\x80 \x93quoted\x94 \x9F"), "€ “quoted” Ÿ");
    EXPECT_EQ(qc::bytestext("plain ASCII\r\n"), "plain ASCII\r\n");
    EXPECT_EQ(qc::bytestext(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(ByteText, EveryByteIsOneDistinctCharacter)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::vector<long> cps = codepoints(qc::bytestext(all));
    ASSERT_EQ(cps.size(), 256u);
    std::set<long> distinct(cps.begin(), cps.end());
    EXPECT_EQ(distinct.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        EXPECT_NE(cps[static_cast<std::size_t>(b)], 0xFFFD) << b;
        EXPECT_EQ(cps[static_cast<std::size_t>(b)], static_cast<long>(qc::bytechar(static_cast<unsigned char>(b))));
        if (b < 0x80 || b >= 0xA0) {
            EXPECT_EQ(cps[static_cast<std::size_t>(b)], b) << "Latin-1 outside 0x80-0x9F";
        }
    }
    // the bytes Windows-1252 leaves undefined keep their own number
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(qc::bytechar(b), static_cast<char32_t>(b));
}

}  // namespace
