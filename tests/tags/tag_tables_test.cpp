#include <gtest/gtest.h>

#include <sstream>

#include "tags/frame_descriptions.h"

using qc::FrameId;

namespace {

FrameId id(const std::string& s)
{
    FrameId out{};
    for (std::size_t i = 0; i < 4 && i < s.size(); ++i)
        out[i] = static_cast<std::uint8_t>(s[i]);
    return out;
}

}  // namespace

TEST(TagTables, EveryVersion23IdentifierHasItsOwnDescription)
{
    // the 74 frame identifiers of ID3v2.3.0
    std::istringstream ids(
        "AENC APIC COMM COMR ENCR EQUA ETCO GEOB GRID IPLS LINK MCDI MLLT OWNE PRIV PCNT POPM "
        "POSS RBUF RVAD RVRB SYLT SYTC TALB TBPM TCOM TCON TCOP TDAT TDLY TENC TEXT TFLT TIME "
        "TIT1 TIT2 TIT3 TKEY TLAN TLEN TMED TOAL TOFN TOLY TOPE TORY TOWN TPE1 TPE2 TPE3 TPE4 "
        "TPOS TPUB TRCK TRDA TRSN TRSO TSIZ TSRC TSSE TYER TXXX UFID USER USLT WCOM WCOP WOAF "
        "WOAR WOAS WORS WPAY WPUB WXXX");
    int count = 0;
    for (std::string s; ids >> s; ++count) {
        std::string d = qc::framedescription(id(s));
        EXPECT_NE(d, s) << s;
        EXPECT_FALSE(d.empty()) << s;
    }
    EXPECT_EQ(count, 74);

    EXPECT_EQ(qc::framedescription(id("AENC")), "AENC audio encryption");
    for (const char* album : {"SYTC", "TOAL", "TALB"})
        EXPECT_EQ(qc::framedescription(id(album)), "Album");
    EXPECT_EQ(qc::framedescription(id("TCOP")), "Copyright");
    EXPECT_EQ(qc::framedescription(id("WCOP")), "Copyright");
    EXPECT_EQ(qc::framedescription(id("TSSE")), "SW/HW and settings used for encoding");
    EXPECT_EQ(qc::framedescription(id("WPUB")), "Publishers official webpage");
    // version 2.4 identifiers are not in the table
    EXPECT_EQ(qc::framedescription(id("TDRC")), "TDRC");
    EXPECT_EQ(qc::framedescription(id("Tit2")), "Tit2");
}
