#include "cli/failure.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "texts/load_texts.h"

namespace qccli {

const char* kindname(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Usage:
        return "usage";
    case ErrorKind::Internal:
        return "internal";
    default:
        return qc::errorkindname(static_cast<qc::ErrorKind>(kind));
    }
}

namespace {

ErrorKind openkind(int code)
{
    // A name that cannot be resolved is as good as missing; a file being run
    // cannot be opened for writing.
    switch (code) {
    case ELOOP:
    case ENAMETOOLONG:
        return ErrorKind::NotFound;
    case ETXTBSY:
        return ErrorKind::Permission;
    default:
        return static_cast<ErrorKind>(qc::openfailurekind(code, qc::ErrorKind::ReadFailed));
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
    // a source is only ever read: a read-only file or mount is fine
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotopen(path, openkind(errno), errnotext(errno));
    ::close(fd);
    return std::nullopt;
}

Failure loadfailure(const std::string& path, const qc::Error& error, const std::string& windowtext)
{
    Failure f{static_cast<ErrorKind>(error.kind), path + ": " + windowtext, windowtext};
    switch (error.kind) {
    case qc::ErrorKind::ReadFailed:
        f.message = "cannot read " + path + ": " +
                    (error.errnum != 0 ? errnotext(error.errnum)
                                       : std::string("it ends before its data does (did it change while it was loaded?)"));
        break;
    case qc::ErrorKind::Cancelled:  // --policy fail said no to going past damage
        f.kind = ErrorKind::NothingToSave;
        break;
    case qc::ErrorKind::None:
        f.kind = ErrorKind::Damaged;
        break;
    default:
        break;
    }
    if (error.errnum != 0 && (f.kind == ErrorKind::NotFound || f.kind == ErrorKind::Permission))
        f.message = "cannot open " + path + ": " + errnotext(error.errnum);
    return f;
}

}  // namespace qccli
