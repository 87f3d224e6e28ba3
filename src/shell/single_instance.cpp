#include "shell/single_instance.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qc {

namespace {

// A hand-over is the file name and one NUL (no name holds a NUL), answered
// by one byte once the running copy has it.
constexpr char confirmation = 'y';
constexpr std::size_t longestname = 4096;  // PATH_MAX

using Clock = std::chrono::steady_clock;

bool socketaddress(const std::string& path, sockaddr_un& a)
{
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof a.sun_path)
        return false;
    std::memcpy(a.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits for fd to become ready for events until the deadline.
bool waitfor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r > 0)
            return true;
        if (r < 0 && errno != EINTR)
            return false;
    }
}

int connectto(const std::string& socketpath)
{
    sockaddr_un a;
    if (!socketaddress(socketpath, a))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string handoverpath(const std::string& markerpath)
{
    const std::string lock = ".lock";
    if (markerpath.size() >= lock.size() &&
        markerpath.compare(markerpath.size() - lock.size(), lock.size(), lock) == 0)
        return markerpath.substr(0, markerpath.size() - lock.size()) + ".socket";
    return markerpath + ".socket";
}

bool handover(const std::string& socketpath, const std::string& file, int timeoutms)
{
    if (file.size() > longestname || file.find('\0') != std::string::npos)
        return false;
    const int fd = connectto(socketpath);
    if (fd < 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutms);
    const std::string message = file + '\0';
    std::size_t sent = 0;
    bool ok = true;
    while (ok && sent < message.size()) {
        if (!waitfor(fd, POLLOUT, deadline)) {
            ok = false;
            break;
        }
        // no SIGPIPE when the running copy goes away meanwhile
        const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            ok = false;
    }
    char answer = 0;
    if (ok)
        ok = waitfor(fd, POLLIN, deadline) && ::read(fd, &answer, 1) == 1 && answer == confirmation;
    ::close(fd);
    return ok;
}

HandOverListener::~HandOverListener()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
}

bool HandOverListener::listen(const std::string& socketpath)
{
    sockaddr_un a;
    if (fd_ >= 0 || !socketaddress(socketpath, a))
        return false;
    // A socket that still answers belongs to a running copy; one that does
    // not was left by a copy that ended abnormally.
    if (const int other = connectto(socketpath); other >= 0) {
        ::close(other);
        return false;
    }
    ::unlink(socketpath.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // Only this user may connect where the directory is shared (/tmp).
    const mode_t old = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    ::umask(old);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = socketpath;
    return true;
}

std::optional<std::string> HandOverListener::receive(int timeoutms)
{
    if (fd_ < 0)
        return std::nullopt;
    const int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (c < 0)
        return std::nullopt;
    ucred peer{};
    socklen_t len = sizeof peer;
    if (::getsockopt(c, SOL_SOCKET, SO_PEERCRED, &peer, &len) != 0 || peer.uid != ::getuid()) {
        ::close(c);
        return std::nullopt;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutms);
    std::string name;
    bool whole = false;
    while (!whole && name.size() <= longestname && waitfor(c, POLLIN, deadline)) {
        char buf[512];
        const ssize_t n = ::read(c, buf, sizeof buf);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            break;
        for (ssize_t i = 0; i < n && !whole; ++i) {
            if (buf[i] == '\0')
                whole = true;
            else
                name.push_back(buf[i]);
        }
    }
    if (whole)
        whole = ::send(c, &confirmation, 1, MSG_NOSIGNAL) == 1;
    ::close(c);
    if (!whole)
        return std::nullopt;
    return name;
}

std::string instancemarkerpath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return std::string(runtime) + "/Vorpelkindax.lock";
    return "/tmp/Vorpelkindax-" + std::to_string(::getuid()) + ".lock";
}

bool singleinstance(ui::MessageBox& box, const std::string& markerpath, const std::string& file)
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
    // The running copy takes the file (and raises its window); without a
    // file it only raises its window, and this copy says why it ends.
    if (handover(handoverpath(markerpath), file) && !file.empty())
        return false;
    box.msgbox(instancemessage, 48, "Quillcut");
    return false;
}

}  // namespace qc
