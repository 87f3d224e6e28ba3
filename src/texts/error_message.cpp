#include "texts/error_message.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace qc {

std::string errnotext(int code)
{
    std::array<char, 256> buf{};
    // the GNU strerror_r returns the text, which need not be in buf
    return ::strerror_r(code, buf.data(), buf.size());
}

namespace {

const char* verb(const Error& e)
{
    switch (e.step) {
    case Step::Open:
        return "cannot open ";
    case Step::Create:
        return "cannot create ";
    case Step::Read:
        return "cannot read ";
    case Step::Write:
    case Step::Replace:
        return "cannot write ";
    case Step::None:
        break;
    }
    return e.blame == Blame::Target ? "cannot write " : "cannot read ";
}

}  // namespace

std::string errormessage(const Error& e, const std::string& windowtext)
{
    switch (e.cause) {
    case Cause::Disk:
        if (e.errnum != 0)
            return verb(e) + e.path + ": " + errnotext(e.errnum);
        if (e.blame == Blame::Target)
            return verb(e) + e.path + ": the write or the copy of the source failed";
        return "cannot read " + e.path + ": it ends before its data does (did it change while it was loaded?)";
    case Cause::SourceChanged:
        return "cannot read " + e.path + ": it changed since it was loaded";
    case Cause::FrameSize:
        if (e.blame == Blame::Source && e.step == Step::Read)
            return "cannot cut " + e.path + ": the last frame to keep is cut short (the file ends inside it); "
                   "cut it off the end";
        return (e.path.empty() ? std::string() : e.path + ": ") + windowtext;
    case Cause::NameTooLong:
        return verb(e) + e.path + ": " + errnotext(ENAMETOOLONG);
    case Cause::TargetExists:
        return verb(e) + e.path + ": " + errnotext(EEXIST);
    default:
        return (e.path.empty() ? std::string() : e.path + ": ") + windowtext;
    }
}

}  // namespace qc
