// The one vocabulary of failure, for loads and saves alike: what kind of
// failure it is (the kinds scripts test), its cause (each has its window
// text), who is to blame (the source or the target), the system's errno,
// the path concerned and the step that failed. Every message, the window's
// and quillcut-cli's, is built from these values.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

enum class ErrorKind {
    None,
    NotFound,       // the file or a folder on its path does not exist
    Permission,     // the system refused access, or the file is read-only
    ReadFailed,     // the file could not be read as far as it claimed to go
    NotMp3,         // no MPEG Layer III stream where one was looked for
    Damaged,        // the stream breaks off in a way the load cannot follow
    Cancelled,      // a question was answered with Cancel (or No where that stops)
    NothingToSave,  // the cuts leave no frame, or nothing would change
    WriteFailed,    // the output could not be created, written or put in place
};

// Why a load or a save stopped.
enum class Cause {
    None,
    Disk,                 // open, read, write, rename or close failed (errnum says why when the system did)
    TagPastEnd,           // an ID3v2 tag said to reach past the end of the file
    InvalidHeader,        // no frame at the start and no continuing
    NotMp3Rate,           // no frame of a known sampling frequency
    NotMp3,               // nothing like a frame near the start
    VariableRate,         // the sampling frequency changes
    VersionChanged,       // position: where a frame of another MPEG version follows the stream (1-based)
    FrameSize,            // a frame of improper size and no continuing
    ImproperFrameHeader,  // position: where the header that is no frame lies (1-based)
    Cancelled,            // a question was answered Cancel or No
    NothingKept,          // the cuts leave no frame
    SourceChanged,        // the source is not the file that was loaded
    NameTooLong,          // the target's name cannot be held
    TargetExists,         // a file of the target's name exists and is not to be replaced
};

enum class Blame { Nobody, Source, Target };

// What was being done to the path when the system refused.
enum class Step { None, Open, Create, Read, Write, Replace };

struct Error {
    ErrorKind kind = ErrorKind::None;
    Cause cause = Cause::None;
    Blame blame = Blame::Nobody;
    int errnum = 0;             // the system's errno, 0 when the failure is not the system's
    std::string path;           // the file concerned, as it was named
    Step step = Step::None;
    std::int64_t position = 0;  // where in the source, for damage
    bool failed() const { return kind != ErrorKind::None; }
};

// An error of a cause, its kind derived from the cause, the blame and the errno.
Error makeerror(Cause cause, Blame blame = Blame::Nobody, int errnum = 0, std::string path = {},
                Step step = Step::None, std::int64_t position = 0);

// The kind of a cause, by who is to blame and the errno.
ErrorKind kindof(Cause cause, Blame blame, int errnum);

// "not-found", "permission", ... as quillcut-cli names them.
const char* errorkindname(ErrorKind kind);

// The kind of a failed open by its errno: a missing file or folder, a
// refusal, or otherwise the given kind.
ErrorKind openfailurekind(int errnum, ErrorKind otherwise);

// The file layer keeps an errno as its pending code, or one of its own two
// (read past the end, not open; numbers no file operation's errno takes):
// this is the errno, 0 for the file layer's own codes.
int systemerror(int code);

}  // namespace qc
