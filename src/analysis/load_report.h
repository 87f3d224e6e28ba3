// What a load found, as plain values: the summary facts, the structures
// around the frames, the stretches of unknown data with their exact
// extents, the warnings, and on failure what went wrong.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/load_options.h"
#include "stream/error.h"
#include "stream/loaded_file.h"

namespace qc {

// A stretch of data of unknown origin: positions from .. end - 1 (1-based).
struct UnknownStretch {
    enum Where { Leading, Between, After };
    Where where;
    std::int64_t from = 0;
    std::int64_t end = 0;
    bool included = false;
    std::int64_t offset() const { return from - 1; }
    std::int64_t size() const { return end - from; }
    bool operator==(const UnknownStretch&) const = default;
};

// The unknown stretches of the loaded record, in file order. These extents
// are the ones the writer copies when a stretch is included.
std::vector<UnknownStretch> unknownstretches(const LoadedFile& f);

// A structure around the frames: offset 0-based, size in bytes.
struct Structure {
    bool present = false;
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

struct LoadReport {
    bool ok = false;
    Error error;  // blamed on the source
    // the question answered Cancel (or No where that ends the load), if any
    std::optional<Question> cancelledat;

    std::int64_t filesize = 0;
    std::int64_t frames = 0;
    std::int64_t firstframe = 0;  // offsets, 0-based
    std::int64_t lastframe = 0;
    std::array<std::int64_t, 15> bitrateframes{};  // by bitrate index, 0 free format
    int dominantbitrate = -1;  // the index every frame has, -1 for a mix
    std::uint8_t versionbits = version1;  // MPEG-1, 2 or 2.5 (header byte 1 AND 0x18)
    std::uint8_t sampleratebits = 0;
    int samplerate = 0;  // Hz
    int samplesperframe = 0;
    std::uint8_t channelmode = 0;
    double secondsperframe = 0;
    double seconds = 0;
    std::int64_t freeformatframes = 0;

    Structure id3v2, riff, id3v1;
    bool id3v1damaged = false;
    std::vector<UnknownStretch> unknown;
    std::vector<Notice> warnings;
};

// The facts of a successful load, read from the record.
void summarize(const LoadedFile& f, LoadReport& report);

}  // namespace qc
