// Where a Layer III frame's parts lie: header, optional CRC word, side
// information, main-data area; and the side information's pointer into
// the bit reservoir.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qc {

struct FrameLayout {
    int headerbytes = 4;  // 6 with the CRC word
    int sidebytes = 32;   // 17 for mono; MPEG-2 and 2.5: 17, 9 for mono
    bool lsf = false;     // MPEG-2 or 2.5: one granule, 8-bit main_data_begin
    int areastart() const { return headerbytes + sidebytes; }
    // main_data_begin's limit: the reservoir a frame may reach back into
    int reservoirlimit() const { return lsf ? 256 : 512; }
};

// From header bytes 1 and 3 (version and protection bit, channel mode).
FrameLayout framelayout(std::uint8_t b1, std::uint8_t b3);

// main_data_begin, the first 9 bits (MPEG-2 and 2.5: 8 bits) of the side
// information: how many bytes before this frame's main-data area its main
// data starts. Needs the frame's first areastart() bytes; 0 when fewer are
// given.
int maindatabegin(const std::uint8_t* frame, std::size_t n);

// True when the side information is all zero: a frame that decodes to
// silence and takes nothing from the reservoir.
bool silentsideinfo(const std::uint8_t* frame, std::size_t n);

}  // namespace qc
