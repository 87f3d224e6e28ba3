#include "stream/error.h"

#include <cerrno>
#include <utility>

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

ErrorKind kindof(Cause cause, Blame blame, int errnum)
{
    switch (cause) {
    case Cause::None:
        return ErrorKind::None;
    case Cause::Disk:
        if (blame != Blame::Target)
            return openfailurekind(errnum, ErrorKind::ReadFailed);
        // an output that cannot be made is a failed write, whatever is
        // missing on its way; a refusal is a refusal
        return errnum == EACCES || errnum == EPERM || errnum == EROFS ? ErrorKind::Permission
                                                                        : ErrorKind::WriteFailed;
    case Cause::InvalidHeader:
    case Cause::NotMp3Rate:
    case Cause::NotMp3:
        return ErrorKind::NotMp3;
    case Cause::TagPastEnd:
    case Cause::VariableRate:
    case Cause::VersionChanged:
    case Cause::FrameSize:
    case Cause::ImproperFrameHeader:
        return ErrorKind::Damaged;
    case Cause::Cancelled:
        return ErrorKind::Cancelled;
    case Cause::NothingKept:
        return ErrorKind::NothingToSave;
    case Cause::SourceChanged:
        return ErrorKind::ReadFailed;
    case Cause::NameTooLong:
    case Cause::TargetExists:
        return ErrorKind::WriteFailed;
    }
    return ErrorKind::ReadFailed;
}

Error makeerror(Cause cause, Blame blame, int errnum, std::string path, Step step, std::int64_t position)
{
    Error e;
    e.kind = kindof(cause, blame, errnum);
    e.cause = cause;
    e.blame = blame;
    e.errnum = errnum;
    e.path = std::move(path);
    e.step = step;
    e.position = position;
    return e;
}

int systemerror(int code)
{
    return code == BinaryFile::eof_error || code == BinaryFile::notopen_error ? 0 : code;
}

}  // namespace qc
