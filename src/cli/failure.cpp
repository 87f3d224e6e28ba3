#include "cli/failure.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "analysis/scanner.h"

namespace qccli {

const char* kindname(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::NotFound:
        return "not-found";
    case ErrorKind::Permission:
        return "permission";
    case ErrorKind::ReadFailed:
        return "read-failed";
    case ErrorKind::NotMp3:
        return "not-mp3";
    case ErrorKind::Damaged:
        return "damaged";
    case ErrorKind::TooLarge:
        return "too-large";
    case ErrorKind::NothingToSave:
        return "nothing-to-save";
    case ErrorKind::WriteFailed:
        return "write-failed";
    case ErrorKind::Usage:
        return "usage";
    case ErrorKind::Internal:
        return "internal";
    }
    return "internal";
}

std::string errnotext(int code)
{
    std::array<char, 256> buf{};
    // the GNU strerror_r returns the text, which need not be in buf
    return ::strerror_r(code, buf.data(), buf.size());
}

namespace {

ErrorKind openkind(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return ErrorKind::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrorKind::Permission;
    default:
        return ErrorKind::ReadFailed;
    }
}

Failure cannotopen(const std::string& path, ErrorKind kind, const std::string& why)
{
    return {kind, "cannot open " + path + ": " + why, qc::loaderror::disk};
}

}  // namespace

std::optional<Failure> openfailure(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return cannotopen(path, openkind(errno), errnotext(errno));
    if (S_ISDIR(st.st_mode))
        return cannotopen(path, ErrorKind::ReadFailed, errnotext(EISDIR));
    if (!S_ISREG(st.st_mode))
        return cannotopen(path, ErrorKind::ReadFailed, "not a regular file");
    // The load opens its source for writing too, and refuses a file whose
    // write permission bits are all clear, also for root.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return cannotopen(path, ErrorKind::Permission, "the file is read-only (no write permission bit set)");
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return cannotopen(path, openkind(errno), errnotext(errno));
    ::close(fd);
    return std::nullopt;
}

Failure loadfailure(const std::string& path, const std::string& windowtext)
{
    namespace le = qc::loaderror;
    Failure f{ErrorKind::Damaged, path + ": " + windowtext, windowtext};
    if (windowtext == le::disk) {
        f.kind = ErrorKind::ReadFailed;
        f.message = "cannot read " + path + ": a read failed or the file changed while it was loaded";
    } else if (windowtext == le::toolarge || windowtext == le::tagtoolarge || windowtext == le::maxframes) {
        f.kind = ErrorKind::TooLarge;
    } else if (windowtext == le::invalidheader || windowtext == le::notmp3rate || windowtext == le::notmp3 ||
               windowtext == le::variablerate) {
        f.kind = ErrorKind::NotMp3;
    }
    return f;
}

}  // namespace qccli
