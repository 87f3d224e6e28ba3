// Encoded test files made at test time with sox and lame, decodes by
// ffmpeg and mpg123, and a reader of the output's tag frame that shares
// nothing with the writer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/harness.h"

namespace qctest {

// sox makes seconds of noise shaped by a sine (so that lame uses its bit
// reservoir), lame encodes it with options at the given rate (lame writes
// MPEG-2 at 16, 22.05 and 24 kHz, MPEG-2.5 at 8, 11.025 and 12 kHz); empty
// when a tool failed.
std::string encode(const TempDir& dir, const std::string& name, int rate, int channels,
                   const std::string& lameoptions, double seconds = 2.0);

// 16-bit samples, interleaved, as the decoder outputs them.
struct Pcm {
    int channels = 2;
    std::vector<std::int16_t> data;
    std::int64_t frames() const { return static_cast<std::int64_t>(data.size()) / channels; }
    // samples [from, to) of every channel
    std::vector<std::int16_t> slice(std::int64_t from, std::int64_t to) const;
};
Pcm decodeffmpeg(const std::string& file, int channels);
Pcm decodempg123(const std::string& file, int channels);

// The frames of a file (after any ID3v2 tag, up to any ID3v1 tag), walked
// by their header lengths; MPEG-1, 2 and 2.5 Layer III, the version of the
// first frame throughout.
struct WalkedFrame {
    std::size_t offset = 0, length = 0;
    int samples = 1152;  // 576 for MPEG-2 and 2.5
    bool lsf = false;
};
std::vector<WalkedFrame> walkframes(const Bytes& file);

// The LAME tag in the first frame, read by the field list.
struct ReadTag {
    std::string id;  // "Xing", "Info"
    std::uint32_t flags = 0, frames = 0, bytes = 0;
    std::vector<std::uint8_t> toc;
    std::string encoder;
    int delay = 0, padding = 0;
    std::uint32_t musiclength = 0;
    std::uint16_t musiccrc = 0, tagcrc = 0;
    std::size_t idoffset = 0;
};
std::optional<ReadTag> readtag(const Bytes& file, const WalkedFrame& first);

// CRC-16/ARC one bit at a time.
std::uint16_t bitcrc(const std::uint8_t* data, std::size_t n);

}  // namespace qctest
