// The values info reports for one file, read off the engine after a load.
#pragma once

#include <string>

#include "cli/engine.h"
#include "cli/file_regions.h"
#include "cli/reports.h"

namespace qccli {

InfoReport inforeport(const Engine& engine, const std::string& given, bool gains);

// The unknown stretches of the loaded file, with the extents the writer copies.
std::vector<UnknownStretch> unknownstretches(const std::vector<Region>& regions);

}  // namespace qccli
