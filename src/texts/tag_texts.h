// The captions and texts of the tag views, as the window shows them and
// quillcut-cli prints them.
#pragma once

namespace qc {

namespace tagcaption {
inline constexpr const char* id3v1 = "ID3v1 (footer) TAG CONTENT";
inline constexpr const char* id3v2 = "ID3v2 (header) TAG CONTENT";
inline constexpr const char* error = "Error";
}  // namespace tagcaption

inline constexpr const char* diskerrortext =
    "Disk error - maybe file was moved or  modified in the meantime?";
inline constexpr int tagstyle = 64;    // OK, information
inline constexpr int errorstyle = 48;  // OK, exclamation

}  // namespace qc
