// The silence detection choices kept in the settings file.
#pragma once

#include <cstdint>

namespace qc {

struct AutoSettings {
    std::uint8_t autousestart = 0;  // method applied to the start on every load: 0 none, 1..3
    std::uint8_t autouseend = 0;
    std::uint8_t autosubstart = 0;  // frames left untrimmed, 0..99
    std::uint8_t autosubend = 0;
    std::int32_t autoleft = 0;      // window position
    std::int32_t autotop = 0;
};

}  // namespace qc
