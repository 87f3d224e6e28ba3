#include "shell/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qc {

std::string instancemarkerpath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return std::string(runtime) + "/Vorpelkindax.lock";
    return "/tmp/Vorpelkindax-" + std::to_string(::getuid()) + ".lock";
}

bool singleinstance(ui::MessageBox& box, const std::string& markerpath)
{
    // Close-on-exec: a player started from this copy must not inherit the
    // lock and keep the marker alive after the copy has ended. No symbolic
    // links: the fallback lives in a directory that everyone can write.
    const int fd = ::open(markerpath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    int r;
    do
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r == 0)
        return true;  // held until the process ends; the descriptor is never closed
    const bool running = errno == EWOULDBLOCK;
    ::close(fd);
    if (!running)
        return true;
    // The running copy is told nothing: there is no broadcast to top-level
    // windows here, and the running copy would not react to one anyway.
    box.msgbox(instancemessage, 48, "Quillcut");
    return false;
}

}  // namespace qc
