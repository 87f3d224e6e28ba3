#include "stream/error_kind.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "stream/binary_file.h"

namespace qc {

const char* errorkindname(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::None:
        return "none";
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
    case ErrorKind::Cancelled:
        return "cancelled";
    case ErrorKind::NothingToSave:
        return "nothing-to-save";
    case ErrorKind::WriteFailed:
        return "write-failed";
    }
    return "none";
}

ErrorKind openfailurekind(int errnum, ErrorKind otherwise)
{
    switch (errnum) {
    case ENOENT:
    case ENOTDIR:
        return ErrorKind::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorKind::Permission;
    default:
        return otherwise;
    }
}

std::string errnotext(int errnum)
{
    std::array<char, 256> buf{};
    // the GNU strerror_r returns the text, which need not be in buf
    return ::strerror_r(errnum, buf.data(), buf.size());
}

int systemerror(int code)
{
    return code == BinaryFile::eof_error || code == BinaryFile::notopen_error ? 0 : code;
}

}  // namespace qc
