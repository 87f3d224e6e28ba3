// Short descriptions of the ID3v2.3 frame identifiers, as the tag view shows
// them in front of each frame's content.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qc {

using FrameId = std::array<std::uint8_t, 4>;

// The description of a known identifier (exact, case-sensitive match);
// an unknown one is described by its own bytes (idtext).
std::string framedescription(const FrameId& id);

}  // namespace qc
