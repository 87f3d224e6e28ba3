// The stretches a loaded file is made of, in source order, with the extents
// the writer uses when it copies them: what info lists as unknown data, and
// what a cut tells it left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/reports.h"
#include "cutting/copy_plan.h"
#include "stream/loaded_file.h"

namespace qccli {

struct Region {
    std::string what;   // id3v2, unknown, riff, frames, id3v1, damaged-tail
    std::string where;  // for unknown data: leading, between, after
    std::int64_t from = 0, end = 0;  // 1-based positions, end exclusive
    bool included = false;           // unknown data the user keeps
};

// truncated: the load cut off a damaged tail (the data after the frames is
// that tail, not data after a tag). Each byte belongs to one region at most.
std::vector<Region> fileregions(const qc::LoadedFile& f, bool truncated);

// The bytes of every region but the frames that the plan does not copy,
// in source order.
std::vector<LeftOut> leftout(const std::vector<Region>& regions, const qc::CopyPlan& plan);

}  // namespace qccli
