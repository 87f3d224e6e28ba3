// The two tags of a loaded file as the window's view buttons show them:
// the source is reopened by name (it may have been moved, shortened or
// replaced since the load), read and closed again.
#pragma once

#include "stream/loaded_file.h"
#include "tags/tag_read.h"

namespace qc {

// The ID3v2 tag at the start of the file.
TagRead headtagview(const LoadedFile& f);
// The ID3v1 tag the load found (a damaged one as far as it goes), or what
// lies at footerpos where the load found none.
TagRead footertagview(const LoadedFile& f);

}  // namespace qc
