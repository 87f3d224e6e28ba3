#include "silence/gain_plot.h"

#include <algorithm>
#include <iterator>

namespace qc {

std::vector<std::uint8_t> gainseries(const SilenceState& state, int side)
{
    const std::uint8_t* buf = state.gains(side);
    const std::size_t n = std::min<std::size_t>(state.examinecount, examinelimit);
    if (side == 0)
        return {buf, buf + n};
    return {std::make_reverse_iterator(buf + n), std::make_reverse_iterator(buf)};
}

std::array<std::int32_t, 3> methodproposals(const SilenceState& state, int side, int subtract)
{
    return {proposal(method1(state, side), subtract), proposal(method2(state, side), subtract),
            proposal(method3(state, side), subtract)};
}

}  // namespace qc
