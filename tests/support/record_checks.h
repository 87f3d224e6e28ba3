// The properties every successful load keeps, whatever the bytes: checked
// by the hostile-input tests and by the fuzz targets alike. Plain C++
// without a test framework, so that the fuzz build can use it.
#pragma once

#include <cstdint>
#include <string>

#include "stream/loaded_file.h"

namespace qccheck {

// The first property the record of a successful load of a file of
// filesize bytes breaks, as text; empty when it keeps them all.
std::string brokenrecord(const qc::LoadedFile& f, std::int64_t filesize);

// The first property a copy plan breaks, for a set of cuts and every
// combination of kept structures the window allows: each plan takes source
// bytes once, in order, within the file. The record's cuts are restored.
std::string brokenplans(qc::LoadedFile& f);

}  // namespace qccheck
