// Where a cut's run of frames is expected to lie in its output, judged
// while the load is still walking the source: from the frames recorded so
// far and the cut at the start, through the same plans the save makes
// (with the end of the file not yet known). The early copy puts the run
// there; the save's own plan, made once the load is done, takes what
// matches.
#pragma once

#include <cstdint>
#include <optional>

#include "cutting/copy_plan.h"
#include "cutting/exact_plan.h"
#include "stream/loaded_file.h"

namespace qc {

// What is known of the cut before the load ends.
struct EarlyCut {
    KeptStructures keep;
    std::int64_t startframes = 0;  // frames cut at the start
    SampleCuts samples;            // samples cut instead (exact output; the start counts)
    bool endcut = false;           // something is cut at the end
    bool exact = true;             // exact output, else byte for byte
};

// The run's first byte: where it is read in the source and written in the
// output (zero-based offsets).
struct EarlyPlace {
    std::int64_t sourcefrom = 0;
    std::int64_t outputfrom = 0;
};

// The place for the record as it stands (f.framecount frames so far, which
// must reach well past the first kept one); source reads the frames the
// exact plan looks into. Nothing where the plans find no run.
std::optional<EarlyPlace> earlyplace(const LoadedFile& f, const EarlyCut& cut, SourceBytes& source);

}  // namespace qc
