// The length an ID3v2 tag states for its audio (the TLEN frame, in
// milliseconds), made to state another one: an exact output that keeps the
// source's tag holds less audio than the tag says.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qc {

// The tag (its whole bytes, header included) with its TLEN frame ("TLE" in
// version 2.2) saying ms: the number written over the frame's text when it
// fits there (with leading zeros), else the frame taken out and the tag's
// padding grown by its size. Either way the tag keeps its size, so nothing
// around it moves. nullopt when there is nothing to change (no TLEN frame)
// or the tag cannot be changed safely (unsynchronised as a whole, or cut
// short); the tag is then kept as it is.
std::optional<std::vector<std::uint8_t>> withlength(std::span<const std::uint8_t> tag, std::int64_t ms);

}  // namespace qc
