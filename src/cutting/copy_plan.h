// Which stretches of the source make up the trimmed file, and their copy.
//
// The output is the kept stretches of the source, byte for byte and in
// source order: ID3v2 tag, unknown leading data, RIFF header, the kept
// frames, unknown data after the last frame, the ID3v1 tag, unknown data
// after the tag. Each applies only where the record and the user's choices
// say so.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stream/binary_file.h"
#include "stream/loaded_file.h"

namespace qc {

// The size of the transfer buffer that moves what the kernel does not copy
// itself.
inline constexpr std::size_t copybuffersize = 65536;

// The structures the user keeps: a removal box that is shown and not checked.
struct KeptStructures {
    bool headtag = false;
    bool riff = false;
    bool footer = false;
};

// What the output keeps of the loaded file.
struct SaveChoices {
    std::int64_t cuts[2] = {0, 0};  // frames dropped at the start and at the end
    KeptStructures keep;            // the structures kept
    // included stretches of unknown data
    bool includeleading = false, includebetween = false, includeafter = false;
    // A replacement of the source: the output is flushed to the disk
    // before it may take the source's name.
    bool replacing = false;
};

// The choices as the record holds them: its cuts and included stretches.
SaveChoices recordchoices(const LoadedFile& f, const KeptStructures& keep, bool replacing);

// Whether an output with these choices would differ from the source: a
// cut, a structure the file has and the choices leave out, or data of
// unknown origin left out. samplecuts: an exact output's sample trims.
bool changesanything(const LoadedFile& f, const SaveChoices& c, bool samplecuts);

// One stretch of the source: positions from .. end - 1 (1-based).
struct Piece {
    std::int64_t from = 0;
    std::int64_t end = 0;
    std::int64_t size() const { return end - from; }
    bool operator==(const Piece&) const = default;
};

struct CopyPlan {
    std::vector<Piece> pieces;  // in output order; none is empty
    std::int64_t bytes() const;
};

// The pieces of the output for the loaded file and the choices (their
// cuts and included stretches in place of the record's); nullopt when the
// cuts leave no frame.
std::optional<CopyPlan> makesaveplan(const LoadedFile& f, const SaveChoices& choices);
// The same with the record's cuts and included stretches.
std::optional<CopyPlan> makecopyplan(const LoadedFile& f, const KeptStructures& keep);

// Where the loaded file's last frame ends (one past its last byte): its length
// is not recorded, so it runs to the first structure that follows it. Needs
// at least one frame.
std::int64_t lastframeend(const LoadedFile& f);

// The same plan for any run of kept frames firstframe..lastframe (indices),
// with the places where its frame pieces begin and end, so that a writer
// can put its own bytes around them.
struct CopySections {
    CopyPlan plan;
    std::size_t framesfrom = 0, framesto = 0;  // plan.pieces[framesfrom, framesto) hold the frames
};
std::optional<CopySections> makecopysections(const LoadedFile& f, const KeptStructures& keep,
                                             std::int64_t firstframe, std::int64_t lastframe);
// The same with the choices' included stretches in place of the record's.
std::optional<CopySections> makesavesections(const LoadedFile& f, const SaveChoices& choices,
                                             std::int64_t firstframe, std::int64_t lastframe);

// Copies the pieces in order from source to output through buffer, in
// blocks of at most buffer.size() bytes. False when a read or a write
// failed; the error code stays pending in the file that failed. A read
// past the end of the source is a failure, so a source that shrank since
// it was loaded never yields a silently short output.
//
// A piece of at least the buffer's size (the run of frames) is copied inside
// the kernel with copy_file_range, through copier; where the call is refused
// or stops short, the rest of the piece goes through the buffer, so the
// outcome and the failures are those of the buffer copy.
bool copypieces(BinaryFile& source, BinaryFile& output, const CopyPlan& plan,
                std::span<std::uint8_t> buffer, const BinaryFile::RangeCopier& copier);
bool copypieces(BinaryFile& source, BinaryFile& output, const CopyPlan& plan,
                std::span<std::uint8_t> buffer);

}  // namespace qc
