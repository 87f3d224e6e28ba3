// What a picture of one side's gains needs from the silence detection
// state: the gains the methods examine, in file order, and where each
// method's proposal falls. Read from the buffers filled at activation, so
// the picture costs no file access.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "silence/methods.h"

namespace qc {

// The side's examined gains in file order: the start buffer as it is, the
// end buffer reversed (its index 0 is the last frame of the file), so the
// last entry of the end side is the file's last frame.
std::vector<std::uint8_t> gainseries(const SilenceState& state, int side);

// The proposal of methods 1, 2 and 3 on the side, each less subtract and
// never below 0: the cut each would make if it were run and accepted.
std::array<std::int32_t, 3> methodproposals(const SilenceState& state, int side, int subtract);

}  // namespace qc
