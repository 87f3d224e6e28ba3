// The content of one ID3v2 frame as the header tag view shows it, in UTF-8:
// text frames decoded by their declared encoding (ISO-8859-1, UTF-16 with a
// byte-order mark, UTF-16BE, UTF-8); a comment's or lyrics' language and
// description in front of its text ("[eng] description: text"); a
// user-defined frame's description in front of its value; URL frames as
// ISO-8859-1. Any other frame (a picture, private data) shows its bytes of
// 0x20 and above, each as its Windows-1252 character, as the view always
// showed them. Control characters (terminators, line breaks) are left out
// everywhere, so that a frame stays on one line.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tags/frame_descriptions.h"

namespace qc {

std::string frameviewtext(const FrameId& id, std::span<const std::uint8_t> content);

}  // namespace qc
