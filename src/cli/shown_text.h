// The one place where the texts the engine builds (window captions, box
// texts, tag views: single-byte characters, lines ended by "\r\n") become
// the CLI's text output.
#pragma once

#include <string>

namespace qccli {

// "\r\n" as a plain newline; every other byte as it is.
std::string showntext(const std::string& text);

// A text made of file bytes (a tag view): each byte one character, as the
// window shows it, then as showntext.
std::string shownbytes(const std::string& bytes);

// The bytes as ISO-8859-1 characters in UTF-8: what JSON needs of a text
// that is a byte string, keeping every byte recoverable.
std::string utf8fromlatin1(const std::string& bytes);

}  // namespace qccli
