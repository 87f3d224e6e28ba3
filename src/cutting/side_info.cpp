#include "cutting/side_info.h"

#include "stream/frame_header.h"

namespace qc {

FrameLayout framelayout(std::uint8_t b1, std::uint8_t b3)
{
    FrameLayout l;
    l.headerbytes = (b1 & 0x01) ? 4 : 6;
    l.lsf = lsf(versionof(b1));
    l.sidebytes = sideinfobytes(versionof(b1), (b3 & 0xC0) == mode_mono);
    return l;
}

int maindatabegin(const std::uint8_t* frame, std::size_t n)
{
    if (n < 4)
        return 0;
    FrameLayout l = framelayout(frame[1], frame[3]);
    if (n < static_cast<std::size_t>(l.areastart()))
        return 0;
    const std::uint8_t* side = frame + l.headerbytes;
    if (l.lsf)
        return side[0];
    return (side[0] << 1) | (side[1] >> 7);
}

bool silentsideinfo(const std::uint8_t* frame, std::size_t n)
{
    if (n < 4)
        return false;
    FrameLayout l = framelayout(frame[1], frame[3]);
    if (n < static_cast<std::size_t>(l.areastart()))
        return false;
    for (int i = l.headerbytes; i < l.areastart(); ++i)
        if (frame[i] != 0)
            return false;
    return true;
}

}  // namespace qc
