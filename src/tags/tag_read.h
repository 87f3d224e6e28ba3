// Reading the two tags of a source file as text, on a file that is already
// open. Every read is checked at once; a read that fails (the file is shorter
// than the tag claims, or changed since it was loaded) ends the reading with
// readfail set, and the partial text is not meant to be shown.
#pragma once

#include <cstdint>
#include <string>

#include "stream/binary_file.h"

namespace qc {

struct TagRead {
    std::string text;  // lines separated by "\r\n"
    bool readfail = false;
};

// The ID3v1 tag at the 1-based position footerpos (the "T" of "TAG"): one
// line per non-empty field, then always the genre line.
TagRead readid3v1(BinaryFile& file, std::int64_t footerpos);

// A damaged ID3v1 tag: the length bytes (fewer than 128) at the 1-based
// position pos, "TAG" first, as far as they go. The fields that are there,
// a field cut short as far as it goes, the genre line only when its byte is
// there. Fails as readid3v1 does, also when fewer than length bytes can be
// read (the file was shortened since).
TagRead readdamagedid3v1(BinaryFile& file, std::int64_t pos, std::int64_t length);

// The frames of the ID3v2 tag at the start of the file, one line each, read
// in the ID3v2.3 frame layout whatever version the tag declares, each
// frame's text decoded by its declared encoding: the text is UTF-8 (unlike
// the ID3v1 view's, whose bytes are single-byte characters). Lists at most
// 25 frames and about 768 characters.
TagRead readid3v2(BinaryFile& file);

namespace tagview {
inline constexpr int maxframes = 25;
inline constexpr std::int64_t maxshownsize = 768;  // larger frames are not shown
inline constexpr std::size_t maxtextlength = 767;  // longer text is cut to 764 + " ..."
inline constexpr std::size_t cuttextlength = 764;
inline constexpr std::size_t maxcontent = 255;     // characters kept of one frame
inline constexpr const char* toolarge = ": (too large, can't display)";
inline constexpr const char* stopid = "ZK7x";
}  // namespace tagview

}  // namespace qc
