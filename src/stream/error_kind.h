// What kind of failure ended a load or a save, as a value the windows and
// quillcut-cli each put into their own words. The errno behind a failed
// open, read or write travels beside it.
#pragma once

#include <string>

namespace qc {

enum class ErrorKind {
    None,
    NotFound,       // the file or a folder on its path does not exist
    Permission,     // the system refused access, or the file is read-only
    ReadFailed,     // the file could not be read as far as it claimed to go
    NotMp3,         // no MPEG-1 Layer III stream where one was looked for
    Damaged,        // the stream breaks off in a way the load cannot follow
    TooLarge,       // beyond what a position, a tag or the record can hold
    Cancelled,      // a question was answered with Cancel (or No where that stops)
    NothingToSave,  // the cuts leave no frame, or nothing would change
    WriteFailed,    // the output could not be created, written or put in place
};

// "not-found", "permission", ... as quillcut-cli names them.
const char* errorkindname(ErrorKind kind);

// The kind of a failed open by its errno: a missing file or folder, a
// refusal, or otherwise the given kind.
ErrorKind openfailurekind(int errnum, ErrorKind otherwise);

// The file layer keeps an errno as its pending code, or one of its own two
// (read past the end, not open; numbers no file operation's errno takes):
// this is the errno, 0 for the file layer's own codes.
int systemerror(int code);

// The system's text for an errno ("No such file or directory").
std::string errnotext(int errnum);

}  // namespace qc
