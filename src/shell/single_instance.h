// Only one copy of the program runs at a time. The marker is an exclusive
// advisory lock (flock) on a small file named after "Vorpelkindax" in the
// user's runtime directory; the kernel drops the lock when the process ends,
// however it ends, so a crashed copy never blocks the next start.
#pragma once

#include <string>

#include "ui/msgbox.h"

namespace qc {

inline constexpr const char* instancemessage = "You can run just one instance of this program.";

// $XDG_RUNTIME_DIR/Vorpelkindax.lock, or /tmp/Vorpelkindax-<uid>.lock when
// there is no runtime directory.
std::string instancemarkerpath();

// True when this is the only copy (or when no marker could be made at all,
// which lets the program start). A second copy shows the message and gets
// false; main() then ends the process with exit code 0 before any window
// exists. The marker's descriptor stays open for the life of the process.
bool singleinstance(ui::MessageBox& box, const std::string& markerpath = instancemarkerpath());

}  // namespace qc
