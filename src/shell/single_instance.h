// Only one copy of the program runs at a time. The marker is an exclusive
// advisory lock (flock) on a small file named after "Vorpelkindax" in the
// user's runtime directory; the kernel drops the lock when the process ends,
// however it ends, so a crashed copy never blocks the next start.
#pragma once

#include <optional>
#include <string>

#include "ui/msgbox.h"

namespace qc {

inline constexpr const char* instancemessage = "You can run just one instance of this program.";

// $XDG_RUNTIME_DIR/Vorpelkindax.lock, or /tmp/Vorpelkindax-<uid>.lock when
// there is no runtime directory.
std::string instancemarkerpath();

// The Unix socket on which the running copy takes files from later starts:
// the marker's name with ".socket" for ".lock".
std::string handoverpath(const std::string& markerpath);

// True when this is the only copy (or when no marker could be made at all,
// which lets the program start). A second copy gets false, and main() then
// ends the process with exit code 0 before any window exists:
//   - with a file (an absolute name), it hands the file to the running copy,
//     which raises its window and opens it; no box is shown here;
//   - without one, or when the running copy does not take the hand-over,
//     the running copy is asked to raise its window and the message is shown.
// The marker's descriptor stays open for the life of the process.
bool singleinstance(ui::MessageBox& box, const std::string& markerpath = instancemarkerpath(),
                    const std::string& file = {});

// Sends one hand-over: the file name, or "" to only raise the window. True
// once the running copy has confirmed it; false when nothing listens or no
// answer comes within the time given.
bool handover(const std::string& socketpath, const std::string& file, int timeoutms = 5000);

// The running copy's end: a listening socket, readable (for the event loop)
// whenever a later start has something to hand over.
class HandOverListener {
public:
    HandOverListener() = default;
    ~HandOverListener();
    HandOverListener(const HandOverListener&) = delete;
    HandOverListener& operator=(const HandOverListener&) = delete;

    // Listens at socketpath, replacing a socket left by a copy that ended
    // without removing it; false when another copy answers there or the
    // socket cannot be made (a program without hand-over still runs).
    bool listen(const std::string& socketpath);
    int fd() const { return fd_; }
    // Takes one waiting hand-over: the file name ("" for a bare raise), or
    // nothing when the caller was not this user, sent nothing whole within
    // the time given, or nobody was waiting.
    std::optional<std::string> receive(int timeoutms = 2000);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qc
