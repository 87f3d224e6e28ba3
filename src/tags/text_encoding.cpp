#include "tags/text_encoding.h"

namespace qc {

namespace {

constexpr char32_t replacement = 0xFFFD;

// 0x80..0x9F in Windows-1252; 0 marks the undefined bytes.
constexpr char32_t high1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16(std::span<const std::uint8_t> b, bool bigendian)
{
    std::string out;
    std::size_t i = 0;
    auto unit = [&](std::size_t k) -> char32_t {
        return bigendian ? (char32_t{b[k]} << 8 | b[k + 1]) : (char32_t{b[k + 1]} << 8 | b[k]);
    };
    while (i + 1 < b.size()) {
        char32_t c = unit(i);
        i += 2;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < b.size()) {
            char32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        append(out, c);
    }
    if (i < b.size())
        append(out, replacement);
    return out;
}

// A sequence that is not well-formed UTF-8 (overlong, surrogate, beyond
// U+10FFFF, cut short) yields one U+FFFD per byte it could not use.
std::string utf8(std::span<const std::uint8_t> b)
{
    std::string out;
    std::size_t i = 0;
    while (i < b.size()) {
        std::uint8_t lead = b[i];
        int more = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        if (more < 0 || i + static_cast<std::size_t>(more) >= b.size()) {
            append(out, replacement);
            ++i;
            continue;
        }
        char32_t c = more == 0 ? lead : more == 1 ? lead & 0x1F : more == 2 ? lead & 0x0F : lead & 0x07;
        bool ok = true;
        for (int k = 1; k <= more; ++k) {
            if ((b[i + static_cast<std::size_t>(k)] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = c << 6 | (b[i + static_cast<std::size_t>(k)] & 0x3F);
        }
        static constexpr char32_t least[4] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            append(out, replacement);
            ++i;
            continue;
        }
        append(out, c);
        i += static_cast<std::size_t>(more) + 1;
    }
    return out;
}

}  // namespace

void appendutf8(std::string& out, char32_t c)
{
    append(out, c);
}

char32_t windows1252char(std::uint8_t b)
{
    if (b >= 0x80 && b <= 0x9F && high1252[b - 0x80] != 0)
        return high1252[b - 0x80];
    return b;
}

std::string windows1252toutf8(std::span<const std::uint8_t> bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes)
        append(out, windows1252char(b));
    return out;
}

std::size_t utf8length(const std::string& text)
{
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string utf8prefix(const std::string& text, std::size_t n)
{
    std::size_t i = 0, seen = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == n)
                break;
            ++seen;
        }
    }
    return text.substr(0, i);
}

std::string latin1toutf8(std::span<const std::uint8_t> bytes)
{
    std::string out;
    for (std::uint8_t b : bytes)
        append(out, b);
    return out;
}

std::string decodetext(TextEncoding encoding, std::span<const std::uint8_t> bytes)
{
    switch (encoding) {
    case TextEncoding::Utf16:
        if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
            return utf16(bytes.subspan(2), true);
        if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
            return utf16(bytes.subspan(2), false);
        return utf16(bytes, false);
    case TextEncoding::Utf16be:
        // a byte-order mark is not expected here, but a writer that put one
        // in front means it
        if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
            return utf16(bytes.subspan(2), false);
        if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
            return utf16(bytes.subspan(2), true);
        return utf16(bytes, true);
    case TextEncoding::Utf8:
        if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
            return utf8(bytes.subspan(3));
        return utf8(bytes);
    case TextEncoding::Latin1:
    default:
        return latin1toutf8(bytes);
    }
}

std::size_t terminatorsize(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16 || encoding == TextEncoding::Utf16be ? 2 : 1;
}

std::size_t stringlength(TextEncoding encoding, std::span<const std::uint8_t> bytes, std::size_t* next)
{
    std::size_t step = terminatorsize(encoding);
    for (std::size_t i = 0; i + step <= bytes.size(); i += step) {
        if (bytes[i] == 0 && (step == 1 || bytes[i + 1] == 0)) {
            if (next)
                *next = i + step;
            return i;
        }
    }
    if (next)
        *next = bytes.size();
    return bytes.size();
}

}  // namespace qc
