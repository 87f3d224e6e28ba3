// Builds and reads settings records byte by byte, independently of the
// program's own encoder, so that the tests pin the file layout.
#pragma once

#include <cstdint>
#include <string>

#include "support/harness.h"

namespace shelltest {

struct RecordValues {
    std::string savedir = "/music/out/";
    std::string loaddir = "/music/in";
    std::int32_t top = 40, left = 50;
    std::uint8_t toolbarmode = 3, toolbarstyle = 3, errorpolicy = 1;
    std::int32_t infoleft = 0, infotop = 0;
    std::uint8_t autousestart = 0, autouseend = 0, autosubstart = 0, autosubend = 0;
    std::int32_t autoleft = 0, autotop = 0;
};

inline void putint(qctest::Bytes& b, std::size_t at, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    b[at] = static_cast<std::uint8_t>(u);
    b[at + 1] = static_cast<std::uint8_t>(u >> 8);
    b[at + 2] = static_cast<std::uint8_t>(u >> 16);
    b[at + 3] = static_cast<std::uint8_t>(u >> 24);
}

inline std::int32_t getint(const qctest::Bytes& b, std::size_t at)
{
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

inline std::string getshort(const qctest::Bytes& b, std::size_t at)
{
    return std::string(reinterpret_cast<const char*>(&b[at + 1]), b[at]);
}

inline qctest::Bytes record(const RecordValues& v)
{
    qctest::Bytes b(543, 0xAA);  // the bytes after a string's characters are not significant
    b[0] = static_cast<std::uint8_t>(v.savedir.size());
    for (std::size_t i = 0; i < v.savedir.size(); ++i)
        b[1 + i] = static_cast<std::uint8_t>(v.savedir[i]);
    b[256] = static_cast<std::uint8_t>(v.loaddir.size());
    for (std::size_t i = 0; i < v.loaddir.size(); ++i)
        b[257 + i] = static_cast<std::uint8_t>(v.loaddir[i]);
    putint(b, 512, v.top);
    putint(b, 516, v.left);
    b[520] = v.toolbarmode;
    b[521] = v.toolbarstyle;
    b[522] = v.errorpolicy;
    putint(b, 523, v.infoleft);
    putint(b, 527, v.infotop);
    b[531] = v.autousestart;
    b[532] = v.autouseend;
    b[533] = v.autosubstart;
    b[534] = v.autosubend;
    putint(b, 535, v.autoleft);
    putint(b, 539, v.autotop);
    return b;
}

}  // namespace shelltest
