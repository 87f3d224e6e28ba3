#include "silence/methods.h"

#include <cstdlib>

namespace qc {

namespace {

// The smallest index in 0 .. n-1 whose gain is not blank, or n.
std::int32_t firstnonblank(const std::uint8_t* buf, std::int32_t n)
{
    std::int32_t k = 0;
    while (k < n && blank(buf[k]))
        ++k;
    return k;
}

// Two gains sound alike when equal, or one step apart around a reference of
// 2..254 (0, 1 and 255 are exact markers, not levels).
bool sameamplification(std::uint8_t reference, std::uint8_t v)
{
    if (v == reference)
        return true;
    return reference >= 2 && reference <= 254 && (v == reference - 1 || v == reference + 1);
}

// Method 3's search for four loud frames from s + 4 on and the walk back to
// where the rise began; s + 4 <= n - 4 is not required, an empty range
// gives 0.
std::int32_t risepoint(const std::uint8_t* buf, std::int32_t n, std::int32_t s)
{
    const std::int32_t base = (buf[s] + buf[s + 1] + buf[s + 2] + buf[s + 3]) / 4;
    // 999 steps of up to 255 do not fit 16 bits; the sum is kept in 32
    std::int32_t change = 0;
    for (std::int32_t k = s + 1; k < n; ++k)
        change += std::abs(buf[k] - buf[k - 1]);
    const std::int32_t meanstep = change / (n - 1 - s);
    std::int32_t threshold = base + 2 * meanstep;
    if (threshold > 255)
        threshold = 255;

    for (std::int32_t k = s + 4; k <= n - 4; ++k) {
        bool loud = buf[k] >= threshold && buf[k + 1] >= threshold && buf[k + 2] >= threshold &&
                    buf[k + 3] >= threshold;
        if (!loud)
            continue;
        for (std::int32_t m = k; m >= s + 4; --m)
            if (buf[m] <= buf[m - 1])
                return m;
        return s + 3;  // a strict rise all the way back
    }
    return 0;
}

}  // namespace

std::uint16_t examinecountfor(std::int32_t framecount)
{
    if (framecount <= 0)
        return 0;
    return framecount < examinelimit ? static_cast<std::uint16_t>(framecount) : examinelimit;
}

void fillbuffers(SilenceState& state, const LoadedFile& file)
{
    // a count left from a longer file must not reach before the first frame
    if (state.examinecount > examinecountfor(file.framecount))
        state.examinecount = examinecountfor(file.framecount);
    const std::int32_t n = state.examinecount;
    for (std::int32_t k = 0; k < n; ++k) {
        state.startgains[k] = file.framegain[k];
        state.endgains[k] = file.framegain[file.framecount - 1 - k];
    }
}

std::int32_t method1(const SilenceState& state, int side)
{
    return firstnonblank(state.gains(side), state.examinecount);
}

std::int32_t method2(const SilenceState& state, int side)
{
    const std::uint8_t* buf = state.gains(side);
    const std::int32_t n = state.examinecount;
    const std::int32_t i = firstnonblank(buf, n);
    // the first frame of a file is often an encoder's header frame, so on
    // the start side it never serves as the reference
    const std::int32_t p = side == 0 && i < 1 ? 1 : i;

    std::int32_t result;
    if (p > n - 2) {
        result = i;
    } else {
        const std::uint8_t c = buf[p];
        std::int32_t j = p + 1;
        while (j < n && sameamplification(c, buf[j]))
            ++j;
        if (j == n)
            result = 0;  // the whole examined stretch looks alike: nothing to propose
        else if (j == p + 1)
            result = p;
        else
            result = j;
    }
    return result == 1 ? 0 : result;
}

std::int32_t method3(const SilenceState& state, int side)
{
    const std::uint8_t* buf = state.gains(side);
    const std::int32_t n = state.examinecount;
    // Fewer than four examined frames leave no level to measure; every result
    // there would be below 4 and so 0 anyway.
    if (n < 4)
        return 0;

    std::int32_t s = 0;
    std::int32_t result;
    if (side == 0) {
        while (s < n && buf[s] == 255)
            ++s;
    }
    if (s == n)
        result = n;  // only reachable on the start side: everything is 255
    else if (s > n - 4)
        result = n - 4;
    else
        result = risepoint(buf, n, s);
    return result < 4 ? 0 : result;
}

void runmethod(SilenceState& state, int side, int method)
{
    switch (method) {
    case 1:
        state.detected[side] = method1(state, side);
        break;
    case 2:
        state.detected[side] = method2(state, side);
        break;
    case 3:
        state.detected[side] = method3(state, side);
        break;
    default:
        break;
    }
}

std::int32_t autodetected(const LoadedFile& file, int side, int method)
{
    if (method < 1 || method > 3)
        return 0;
    SilenceState state;
    state.examinecount = examinecountfor(file.framecount);
    fillbuffers(state, file);
    runmethod(state, side, method);
    return state.detected[side];
}

std::int32_t autoproposal(const LoadedFile& file, int side, int method, int subtract)
{
    if (method < 1 || method > 3)
        return -1;
    if (subtract < 0)
        subtract = 0;
    if (subtract > 99)
        subtract = 99;
    return proposal(autodetected(file, side, method), subtract);
}

}  // namespace qc
