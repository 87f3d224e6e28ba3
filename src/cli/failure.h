// Why a file could not be handled, as a kind that scripts can test and a
// message that names the real cause. The window shows its own, older texts
// for the same failures; they are kept beside the message.
#pragma once

#include <optional>
#include <string>

#include "analysis/load_report.h"

namespace qccli {

enum class ErrorKind {
    NotFound,
    Permission,
    ReadFailed,
    NotMp3,
    Damaged,
    TooLarge,
    NothingToSave,
    WriteFailed,
    Usage,
    Internal,  // the worker handling the file stopped without a report
};

struct Failure {
    ErrorKind kind = ErrorKind::ReadFailed;
    std::string message;  // "cannot open x.mp3: No such file or directory"
    std::string window;   // what the window's message box says (may be empty)
};

// "not-found", "permission", ...
const char* kindname(ErrorKind kind);

// The system's text for an error number.
std::string errnotext(int code);

// Whether the file can be opened as the load opens it (a regular file, for
// reading and writing, with a write permission bit set); the failure when not.
std::optional<Failure> openfailure(const std::string& path);

// The failure of a load that got past the open, with the window's text.
Failure loadfailure(const std::string& path, const qc::LoadError& error, const std::string& windowtext);

}  // namespace qccli
