// CRC-16/ARC (reflected polynomial 0xA001, initial value 0, no final xor),
// the checksum of the LAME tag's music and tag CRC fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qc {

// Continues crc over n bytes; start with 0. Long runs are folded 64 bytes
// at a time by carry-less multiplication where the processor has it (about
// ten times the speed of the tables), else taken eight bytes per step
// through eight tables.
std::uint16_t crc16arc(std::uint16_t crc, const std::uint8_t* data, std::size_t n);

// Whether the folding is used where the processor has it (on by default);
// tests turn it off to check the tables' path on the same data.
bool usefolding();
void setfolding(bool on);

}  // namespace qc
