// A save as plain values: what to copy (the choices) in, what happened
// (the report) out.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "cutting/copy_plan.h"
#include "cutting/exact_plan.h"
#include "stream/binary_file.h"
#include "stream/error.h"
#include "stream/loaded_file.h"

namespace qc {

struct SaveReport {
    bool ok = false;
    Error error;
    std::int64_t bytes = 0;   // written
    std::int64_t frames = 0;  // source frames kept (byte for byte), frames written (exact)
    // what an exact output holds; none for a byte-for-byte copy
    std::optional<ExactSummary> exact;
    bool replaced = false;  // the target was the source, and now holds the output
    std::string written;    // the target that holds the output
    // other names (hard links) of a replaced file, which keep the old content
    std::int64_t otherlinks = 0;
};

// Bytes made for an output, written before and after the kept stretches.
struct MadeTags {
    std::span<const std::uint8_t> head, foot;
};

// Copies the kept stretches of f's source into output, created under
// target, between the made tags. The source is reopened by name (and closed again whatever
// happens) and must still have its loaded size. The output is closed
// afterwards on success; on failure it is left for the caller to close and
// remove, as the caller decides. copier moves the long stretches in the
// kernel (tests put a refusing one here).
SaveReport copyout(const LoadedFile& f, const SaveChoices& choices, const std::string& target,
                   BinaryFile& output, std::span<std::uint8_t> buffer,
                   const BinaryFile::RangeCopier& copier = systemcopyrange, MadeTags made = {});

// Whether the source is still the file that was loaded, by name: the same
// device, inode, size, and modification and change times (the size alone
// for a record the load did not take them for).
bool sourceunchanged(const LoadedFile& f);

// A failed save's report.
SaveReport savefailure(Cause cause, Blame blame = Blame::Nobody, int errnum = 0, std::string path = {},
                       Step step = Step::None);

}  // namespace qc
