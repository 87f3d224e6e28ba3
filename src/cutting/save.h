// The save: the loaded file, the user's choices and a target in, a report
// out. The window's Save as and quillcut-cli's cut both save through it.
//
// The output is written under a name of its own in the target's folder,
// never wider in its permissions than the source, and takes the target's
// name only when it is complete, so a name never holds a partial file. A
// target that is the source (any name of it) is replaced: the new content
// goes to a temporary file beside the real file, is flushed to the disk,
// gets the file's owner, group, permission bits and extended attributes
// and is renamed over it, so at every moment the name holds the old content
// or the new. A symbolic link is written through; a FIFO, a device or
// standard output ("-") gets the output as a stream. Before it is published
// the source is checked to be the file that was loaded.
#pragma once

#include <functional>
#include <string>
#include <vector>

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
    // Tags made for this output (a track of a split), written before and
    // after what the choices keep; the choices then keep none of the
    // source's own tags.
    std::vector<std::uint8_t> headtag, footertag;
};

// Where tests put their own copy, rename and CRC pass; staged hears the
// name of the temporary file while one exists (empty once it is gone or in
// place), so that an interrupted program can remove it.
struct SaveSeams {
    BinaryFile::RangeCopier copier = mappedcopyrange;
    std::function<bool(const std::string& from, const std::string& to)> rename = renamefile;
    CrcPass crcpass = CrcPass::Chosen;
    std::function<void(const std::string& temporary)> staged;
};

// The target that means standard output.
inline constexpr const char* standardoutput = "-";

// The longest name a target may have.
inline constexpr std::size_t maxtargetname = 255;

SaveReport save(const LoadedFile& f, const SaveRequest& request, const SaveSeams& seams = {});

// The hidden name an output is written under beside target until it is
// complete, and the name a source's new content is written under beside
// it: unique to the process and the save, made only by this program.
std::string stagingname(const std::string& target);
std::string replacementname(const std::string& replaced);

// Removes the temporaries of this program in folder whose process no longer
// exists (a run that was killed); returns how many. The callers run it once
// for each folder they save into (not at every save: a folder of a
// thousand outputs would be read a thousand times).
int removestaletemporaries(const std::string& folder);

}  // namespace qc
