// The texts of a save, as the window shows them and quillcut-cli repeats
// them.
#pragma once

#include <string>

#include "cutting/exact_plan.h"
#include "stream/error.h"

namespace qc {

namespace saveerror {
inline constexpr const char* nothingkept = "Time to delete must be smaller than total time.";
// two blanks before "unknown", as the message has always read
inline constexpr const char* disk = "Disk or  unknown error.";
}  // namespace saveerror

inline constexpr const char* nochanges = "No changes - will not save.";
inline constexpr const char* nochangescaption = "You didn't edit the file";

// The window's text of a failed save.
std::string savefailuretext(const Error& error);

// What happened to a failed save, for the line under its message: the
// system's words for its errno, a source changed on disk, a name too long.
std::string savecause(const Error& error);

// The same for a byte-for-byte save: frames and bytes.
std::string copiedtext(std::int64_t frames, std::int64_t bytes);

// One line about what an exact save wrote: seconds and samples of audio,
// frames, and the frames added ahead of the audio.
std::string writtentext(const ExactSummary& w);

}  // namespace qc
