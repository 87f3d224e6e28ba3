#include "stream/error_kind.h"

#include <cerrno>

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

int systemerror(int code)
{
    return code == BinaryFile::eof_error || code == BinaryFile::notopen_error ? 0 : code;
}

}  // namespace qc
