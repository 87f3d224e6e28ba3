// The frames of an ID3v2 tag (versions 2.2, 2.3 and 2.4) as values: each
// frame's identifier and, for the frames that hold text, that text decoded
// from its declared encoding. Unlike the tag view, which reads every tag in
// the 2.3 layout and shows bytes as they are, this follows the version's own
// layout: sizes (sync-safe in 2.4), unsynchronisation, extended headers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qc {

struct Id3v2Frame {
    std::string id;                          // "TIT2", "COMM", ("TT2" in 2.2)
    std::optional<std::string> text;         // UTF-8; none for binary frames
    std::optional<std::string> contentdescription;  // COMM, USLT, TXXX, WXXX
    std::optional<std::string> language;            // COMM, USLT: three letters as stored
};

struct Id3v2Frames {
    int version = 0;   // 2, 3 or 4
    int revision = 0;
    std::vector<Id3v2Frame> frames;
    std::vector<std::string> problems;  // what could not be read, for warnings
};

// The tag at the start of bytes (the whole tag, header included); nullopt
// when bytes do not start with an ID3v2 header of a known version.
std::optional<Id3v2Frames> readid3v2frames(std::span<const std::uint8_t> bytes);

// One frame's content decoded as the frames above are (no frame flags
// applied): the text of text, URL, comment, lyrics and user-defined frames.
Id3v2Frame decodedframe(const std::string& id, std::span<const std::uint8_t> content);

}  // namespace qc
