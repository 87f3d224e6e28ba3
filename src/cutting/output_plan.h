// An output made of pieces that are either stretches of the source or
// bytes made here (a new tag frame, a frame of silence, a reservoir carrier,
// a RIFF header with new sizes). Runs of source pieces move through
// copypieces, as in a byte-for-byte save.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cutting/copy_plan.h"
#include "stream/binary_file.h"

namespace qc {

struct OutPiece {
    Piece source;      // positions from .. end - 1 when literal < 0
    int literal = -1;  // else the index of the bytes in OutputPlan::literals
};

struct OutputPlan {
    std::vector<OutPiece> pieces;
    std::vector<std::vector<std::uint8_t>> literals;

    void addsource(Piece p);
    // Returns the literal's index.
    int addliteral(std::vector<std::uint8_t> bytes);
    std::int64_t size(const OutPiece& p) const;
    std::int64_t bytes() const;
};

// Writes the pieces in order; false when a read or a write failed (the code
// stays pending in the file that failed).
bool writeoutputplan(BinaryFile& source, BinaryFile& output, const OutputPlan& plan,
                     std::span<std::uint8_t> buffer);
// The same with the long source pieces moved through copier.
bool writeoutputplan(BinaryFile& source, BinaryFile& output, const OutputPlan& plan,
                     std::span<std::uint8_t> buffer, const BinaryFile::RangeCopier& copier);

// Continues crc (CRC-16/ARC) over pieces [from, to) of the plan, reading the
// source through buffer. False when a read failed.
bool outputcrc(BinaryFile& source, const OutputPlan& plan, std::size_t from, std::size_t to,
               std::span<std::uint8_t> buffer, std::uint16_t& crc);

// The same over the file mapped into memory (guarded against a source cut
// short meanwhile: false then), which spares the copies of a
// second read through the buffer; false when it cannot be mapped (the
// caller then reads it) or is shorter than the pieces.
bool mappedcrc(const std::string& path, const OutputPlan& plan, std::size_t from, std::size_t to,
               std::uint16_t& crc);

}  // namespace qc
