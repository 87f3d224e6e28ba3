// How the bytes of a tag field become text: zero bytes before the first
// other byte are skipped, the first zero byte after it ends the field, and
// blanks around the result are dropped. Bytes are otherwise taken as they are
// (single-byte characters, control characters included).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tags/frame_descriptions.h"

namespace qc {

std::string fieldtext(const std::uint8_t* bytes, std::size_t n);

// A frame identifier that the description table does not know, as text.
std::string idtext(const FrameId& id);

// The text without leading and trailing spaces (0x20 only).
std::string trimblanks(const std::string& text);

}  // namespace qc
