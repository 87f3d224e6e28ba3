// A save as plain values: what to copy (the choices) in, what happened
// (the report) out. The windows' texts for a failed save live with the
// window program; quillcut-cli says what the kind and errno say.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cutting/copy_plan.h"
#include "stream/binary_file.h"
#include "stream/error_kind.h"
#include "stream/loaded_file.h"

namespace qc {

enum class SaveFailure {
    None,
    NothingKept,    // the cuts leave no frame
    SourceChanged,  // the source is not the size it had when loaded
    Disk,           // a failed open, read, write or close (see blame and errnum)
    NameTooLong,    // the target's name cannot be held
};

struct SaveReport {
    enum Blame { Nobody, Source, Target };
    bool ok = false;
    ErrorKind kind = ErrorKind::None;
    SaveFailure failure = SaveFailure::None;
    Blame blame = Nobody;
    int errnum = 0;  // the system's errno, 0 when the failure is not the system's
    std::int64_t bytes = 0;      // written
    std::int64_t frames = 0;     // kept
};

// Copies the kept stretches of f's source into output, created under
// target. The source is reopened by name (and closed again whatever
// happens) and must still have its loaded size. The output is closed afterwards on success;
// on failure they are left for the caller to close and the output to
// remove, as the caller decides. copier moves the long stretches in the
// kernel (tests put a refusing one here).
SaveReport copyout(const LoadedFile& f, const SaveChoices& choices, const std::string& target,
                   BinaryFile& output, std::span<std::uint8_t> buffer,
                   const BinaryFile::RangeCopier& copier = systemcopyrange);

// Whether the source still has the size it had when loaded, by name.
bool sourceunchanged(const LoadedFile& f);

// A failure report of the given kind.
SaveReport savefailure(SaveFailure failure, SaveReport::Blame blame = SaveReport::Nobody, int errnum = 0);

}  // namespace qc
