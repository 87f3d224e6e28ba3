// The text encodings of ID3v2 frames, decoded into UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qc {

// The encoding byte at the start of an ID3v2 text field.
enum class TextEncoding : std::uint8_t { Latin1 = 0, Utf16 = 1, Utf16be = 2, Utf8 = 3 };

// The bytes as UTF-8. UTF-16 (with a byte-order mark; without one it is
// read little-endian, as most writers of such tags produce it), UTF-16BE,
// UTF-8 and ISO-8859-1. Whatever cannot be decoded (an odd last byte, a
// lone surrogate, a malformed UTF-8 sequence, an unknown encoding byte read
// as ISO-8859-1) becomes U+FFFD, so the result is always valid UTF-8.
std::string decodetext(TextEncoding encoding, std::span<const std::uint8_t> bytes);

// ISO-8859-1 bytes as UTF-8.
std::string latin1toutf8(std::span<const std::uint8_t> bytes);

// The character a byte stands for in Windows-1252 (ISO-8859-1 with the
// printable characters of 0x80-0x9F): how ID3v1 fields and bytes without a
// declared encoding are shown. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own number, as the C1 control of
// that value, so that no byte is ever lost to a replacement character.
char32_t windows1252char(std::uint8_t b);
// Every byte as its Windows-1252 character, in UTF-8.
std::string windows1252toutf8(std::span<const std::uint8_t> bytes);

// Appends the character c to out in UTF-8 (U+FFFD for what is no character).
void appendutf8(std::string& out, char32_t c);

// How many characters the UTF-8 text holds, and its first n characters.
std::size_t utf8length(const std::string& text);
std::string utf8prefix(const std::string& text, std::size_t n);

// How many bytes a terminating zero takes in the encoding (1 or 2).
std::size_t terminatorsize(TextEncoding encoding);

// The length of the string at the start of bytes, up to its terminating zero
// (aligned to the code unit) or the end; *next is where the rest begins.
std::size_t stringlength(TextEncoding encoding, std::span<const std::uint8_t> bytes, std::size_t* next);

}  // namespace qc
