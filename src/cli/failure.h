// Why a file could not be handled, as a kind that scripts can test and a
// message that names the real cause. The window shows its own, older texts
// for the same failures; they are kept beside the message.
#pragma once

#include <optional>
#include <string>

#include "analysis/load_report.h"
#include "texts/error_message.h"

namespace qccli {

// The engine's kinds keep their values, so a load's or a save's kind is one of
// these as it stands; two kinds belong to the command line alone.
enum class ErrorKind {
    NotFound = static_cast<int>(qc::ErrorKind::NotFound),
    Permission = static_cast<int>(qc::ErrorKind::Permission),
    ReadFailed = static_cast<int>(qc::ErrorKind::ReadFailed),
    NotMp3 = static_cast<int>(qc::ErrorKind::NotMp3),
    Damaged = static_cast<int>(qc::ErrorKind::Damaged),
    NothingToSave = static_cast<int>(qc::ErrorKind::NothingToSave),
    WriteFailed = static_cast<int>(qc::ErrorKind::WriteFailed),
    Usage = 100,
    Internal,  // the worker handling the file stopped without a report
};

struct Failure {
    ErrorKind kind = ErrorKind::ReadFailed;
    std::string message;  // "cannot open x.mp3: No such file or directory"
    std::string window;   // what the window's message box says (may be empty)
};

// "not-found", "permission", ...
const char* kindname(ErrorKind kind);

using qc::errnotext;

// Whether the file can be opened as the load opens it (a regular file, for
// reading); the failure when not.
std::optional<Failure> openfailure(const std::string& path);

// The failure of a load that got past the open, with the window's text.
Failure loadfailure(const std::string& path, const qc::Error& error, const std::string& windowtext);

}  // namespace qccli
