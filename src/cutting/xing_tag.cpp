#include "cutting/xing_tag.h"

#include <cstring>

#include "cutting/crc16.h"
#include "cutting/side_info.h"
#include "stream/frame_header.h"

namespace qc {

namespace {

std::uint32_t be32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void put32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

bool idat(const std::uint8_t* frame, std::size_t n, std::size_t at, const char* id)
{
    return at + 4 <= n && std::memcmp(frame + at, id, 4) == 0;
}

bool honoured(const std::uint8_t* encoder)
{
    return std::memcmp(encoder, "LAME", 4) == 0 || std::memcmp(encoder, "Lavf", 4) == 0 ||
           std::memcmp(encoder, "Lavc", 4) == 0;
}

std::optional<XingTag> readxing(const std::uint8_t* frame, std::size_t n, std::size_t at)
{
    XingTag t;
    t.kind = frame[at] == 'I' ? XingTag::Kind::Info : XingTag::Kind::Xing;
    t.idoffset = static_cast<int>(at);
    std::size_t p = at + 4;
    if (p + 4 > n)
        return t;
    t.flags = be32(frame + p);
    p += 4;
    if (t.flags & 1) {
        if (p + 4 > n)
            return t;
        t.frames = be32(frame + p);
        p += 4;
    }
    if (t.flags & 2) {
        if (p + 4 > n)
            return t;
        t.bytes = be32(frame + p);
        p += 4;
    }
    if (t.flags & 4) {
        if (p + 100 > n)
            return t;
        std::memcpy(t.toc.data(), frame + p, 100);
        p += 100;
    }
    if (t.flags & 8) {
        if (p + 4 > n)
            return t;
        t.quality = be32(frame + p);
        p += 4;
    }
    if (p + lamesize <= n && honoured(frame + p)) {
        t.haslame = true;
        std::memcpy(t.lame.data(), frame + p, lamesize);
        const std::uint8_t* d = frame + p + lamedelay;
        t.delay = (d[0] << 4) | (d[1] >> 4);
        t.padding = ((d[1] & 0x0F) << 8) | d[2];
    }
    return t;
}

}  // namespace

std::optional<XingTag> readxingtag(const std::uint8_t* frame, std::size_t n)
{
    if (n < 4)
        return std::nullopt;
    FrameLayout l = framelayout(frame[1], frame[3]);
    for (int extra : {0, 2}) {
        if (extra == 2 && l.headerbytes == 4)
            break;
        std::size_t at = static_cast<std::size_t>(4 + l.sidebytes + extra);
        if (idat(frame, n, at, "Xing") || idat(frame, n, at, "Info"))
            return readxing(frame, n, at);
    }
    if (idat(frame, n, 36, "VBRI")) {
        XingTag t;
        t.kind = XingTag::Kind::Vbri;
        if (n >= 36 + 18) {
            t.bytes = be32(frame + 36 + 10);
            t.frames = be32(frame + 36 + 14);
        }
        return t;
    }
    return std::nullopt;
}

std::size_t tagidoffset(std::uint8_t versionbits, bool mono)
{
    return static_cast<std::size_t>(4 + sideinfobytes(versionbits, mono));
}

std::size_t tagframeneed(std::uint8_t versionbits, bool mono)
{
    return tagidoffset(versionbits, mono) + lameoffset + lamesize;
}

std::size_t tagframeneed(bool mono)
{
    return tagframeneed(version1, mono);
}

std::vector<std::uint8_t> buildtagframe(const TagFrameSpec& s)
{
    const bool mono = (s.header[3] & 0xC0) == 0xC0;
    const std::uint8_t version = versionof(s.header[1]);
    if (s.length < tagframeneed(version, mono))
        return {};
    std::vector<std::uint8_t> f(s.length, 0);
    std::memcpy(f.data(), s.header.data(), 4);
    const std::size_t id = tagidoffset(version, mono);
    std::memcpy(f.data() + id, s.info ? "Info" : "Xing", 4);
    put32(f.data() + id + 4, 0x0F);
    put32(f.data() + id + 8, s.frames);
    put32(f.data() + id + 12, s.bytes);
    std::memcpy(f.data() + id + 16, s.toc.data(), 100);
    put32(f.data() + id + 116, s.quality);
    std::uint8_t* lame = f.data() + id + lameoffset;
    std::memcpy(lame, s.lame.data(), lamesize);
    lame[lamedelay] = static_cast<std::uint8_t>(s.delay >> 4);
    lame[lamedelay + 1] = static_cast<std::uint8_t>(((s.delay & 0x0F) << 4) | ((s.padding >> 8) & 0x0F));
    lame[lamedelay + 2] = static_cast<std::uint8_t>(s.padding);
    put32(lame + lamemusiclength, s.bytes);
    lame[lamemusiccrc] = static_cast<std::uint8_t>(s.musiccrc >> 8);
    lame[lamemusiccrc + 1] = static_cast<std::uint8_t>(s.musiccrc);
    std::uint16_t tagcrc = crc16arc(0, f.data(), id + lameoffset + lametagcrc);
    lame[lametagcrc] = static_cast<std::uint8_t>(tagcrc >> 8);
    lame[lametagcrc + 1] = static_cast<std::uint8_t>(tagcrc);
    return f;
}

std::array<std::uint8_t, lamesize> plainlameextension(bool cbr)
{
    std::array<std::uint8_t, lamesize> e{};
    std::memcpy(e.data(), "LAME3.100", 9);
    e[9] = cbr ? 1 : 0;  // revision 0; VBR method: CBR or unknown
    return e;
}

}  // namespace qc
