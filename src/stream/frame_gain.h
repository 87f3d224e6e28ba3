// The one value the program takes from a frame's side information: the mean
// of its global_gain fields, which the silence detection reads. An MPEG-1
// frame has two granules, an MPEG-2 or 2.5 frame one.
#pragma once

#include <cstdint>

#include "stream/binary_file.h"

namespace qc {

// The file is positioned at header byte 3 of a frame whose side information
// begins headerlen bytes after the frame start. Reads byte 3 (its top two
// bits give channelmode) and the side information, returns the mean global
// gain rounded down, and leaves the file position where it was. The reads
// are not checked: a failure stays pending in the file for the caller's next
// checked read, and bytes that could not be read count as 0.
std::uint8_t extractgain(BinaryFile& file, std::uint8_t headerlen, std::uint8_t& channelmode);
// The same for a frame of the given version (header byte 1 AND 0x18).
std::uint8_t extractgain(BinaryFile& file, std::uint8_t versionbits, std::uint8_t headerlen,
                         std::uint8_t& channelmode);

// The same computation on bytes in memory: si holds the side information
// (17 bytes for mono, 32 otherwise), byte3 the fourth header byte.
std::uint8_t gainfromsideinfo(std::uint8_t byte3, const std::uint8_t* si);
// The same for any version: MPEG-2 and 2.5 side information (9 bytes mono,
// 17 otherwise) holds one granule, whose global gains make the mean.
std::uint8_t gainfromsideinfo(std::uint8_t versionbits, std::uint8_t byte3, const std::uint8_t* si);

}  // namespace qc
