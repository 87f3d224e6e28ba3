// Bytes from a file shown as text. A file's bytes carry no encoding: tag
// fields, data of unknown origin and the program's own messages are
// single-byte text, one character per byte. Each byte is read as its
// Windows-1252 character (the usual encoding of ID3v1 and ISO-8859-1 tag
// text, with the printable characters of 0x80-0x9F), so that no byte is
// ever lost to a replacement character and "ÿþ" shows a UTF-16 mark as the
// two bytes it is.
#pragma once

#include <string>
#include <string_view>

namespace qc {

// The Unicode code point shown for one byte. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their
// own number, as the C1 control of that value.
char32_t bytechar(unsigned char b);

// Every byte of bytes as its character, encoded in UTF-8: the text the
// window and the command-line tool show.
std::string bytestext(std::string_view bytes);

}  // namespace qc
