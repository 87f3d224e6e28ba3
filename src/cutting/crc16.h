// CRC-16/ARC (reflected polynomial 0xA001, initial value 0, no final xor),
// the checksum of the LAME tag's music and tag CRC fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qc {

// Continues crc over n bytes; start with 0. Eight bytes per step through
// eight tables, so a long run of frames costs little beside reading it.
std::uint16_t crc16arc(std::uint16_t crc, const std::uint8_t* data, std::size_t n);

}  // namespace qc
