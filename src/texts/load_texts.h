// The window texts of a load: its questions and notices as message boxes
// (text, style, caption), its error messages, and the summary's captions.
// One table, so that the load itself holds no window text.
#pragma once

#include <string>

#include "analysis/load_options.h"
#include "analysis/load_report.h"

namespace qc {

// Load error texts, shown after "Error processing file: \r\n ".
namespace loaderror {
inline constexpr const char* disk = "Disk or unknown error.";
inline constexpr const char* invalidheader = "Invalid header.";
inline constexpr const char* notmp3rate = "Not a 32 or 44.1 or 48KHz mp3 file.";
inline constexpr const char* notmp3 = "Not a mp3 file or unknown format header tag.";
inline constexpr const char* variablerate = "Variable sampling rate mp3 - not allowed.";
inline constexpr const char* framesize = "Improper frame size";
// followed by the position and " - not allowed."
inline constexpr const char* versionchanged = "MPEG version changes midway, at position ";
}  // namespace loaderror

inline constexpr const char* errorprefix = "Error processing file: \r\n ";
inline constexpr const char* loaderrorcaption = "error";
inline constexpr int errorboxstyle = 48;

struct BoxText {
    std::string text;
    int style = 0;
    std::string caption;
};

// The window's text of a failure (without the prefix); empty for a load
// that was cancelled, which shows no error. A save's failures have the
// save's texts.
std::string failuretext(const Error& error);
// What happened, for the line under a disk error: the system's words for
// its errno, or what the file layer found (an empty file, one that ends
// early); empty for the other failures, whose texts say it themselves.
std::string loadcause(const Error& error, std::int64_t filesize);
BoxText questionbox(const Question& question);
BoxText noticebox(const Notice& notice);

// "44.1 KHz, 128 kbps, 3.135, joint stereo" and the like.
std::string infocaption(const LoadReport& report);
// The same with another duration in seconds (the decoded length).
std::string infocaption(const LoadReport& report, double seconds);
// " 128 kbps frames:120" and the like, MPEG-1.
std::string bitratecaption(int index, std::int32_t frames);
// The same by the bitrate table of the loaded version.
std::string bitratecaption(const LoadReport& report, int index);

}  // namespace qc
