// What an interrupted quillcut-cli leaves: nothing of its own. SIGINT,
// SIGTERM and SIGHUP remove the temporary file of the save running in this
// process (a worker of --jobs has its own) and end it with 128 + the
// signal's number; a worker also ends when its parent does.
#pragma once

#include <string>

namespace qccli {

// Puts the handlers in place (once per process).
void watchinterrupts();
// The temporary file a save is writing now; empty when there is none.
void settemporary(const std::string& path);
// For a worker process: SIGTERM when the parent ends; false when the
// parent has already gone.
bool diewithparent(int parent);

}  // namespace qccli
