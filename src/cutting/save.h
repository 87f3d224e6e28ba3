// The save: the loaded file, the user's choices and a target in, a report
// out. The window's Save as and quillcut-cli's cut both save through it.
//
// The output is written under a name of its own in the target's folder and
// takes the target's name only when it is complete, so a name never holds a
// partial file. A target that is the source (any name of it) is replaced:
// the new content goes to a temporary file beside the real file, is flushed
// to the disk, gets the source's permission bits and is renamed over it, so
// at every moment the source's name holds the old content or the new.
#pragma once

#include <functional>
#include <string>

#include "cutting/copy_plan.h"
#include "cutting/exact_plan.h"
#include "cutting/exact_write.h"
#include "cutting/mapped_copy.h"
#include "cutting/save_report.h"
#include "stream/binary_file.h"
#include "stream/loaded_file.h"

namespace qc {

struct SaveRequest {
    SaveChoices choices;  // cuts, kept structures, included stretches (replacing is the save's to decide)
    bool exact = true;    // exact output, or the kept stretches byte for byte
    SampleCuts samples;   // exact output only: sample trims in place of a side's frame cut
    std::string target;   // the name chosen for the output
};

// Where tests put their own copy, rename and CRC pass.
struct SaveSeams {
    BinaryFile::RangeCopier copier = mappedcopyrange;
    std::function<bool(const std::string& from, const std::string& to)> rename = renamefile;
    CrcPass crcpass = CrcPass::Beside;
};

// The longest name a target may have.
inline constexpr std::size_t maxtargetname = 255;

SaveReport save(const LoadedFile& f, const SaveRequest& request, const SaveSeams& seams = {});

// The hidden name an output is written under beside target until it is
// complete: unique to this process and save.
std::string stagingname(const std::string& target);

}  // namespace qc
