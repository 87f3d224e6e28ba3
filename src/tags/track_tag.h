// The tags of one track of a split recording, made from the source's own:
// an ID3v2.4 tag holding the source's frames with the track's title, number,
// performer and length, and (where the source has one) an ID3v1 tag with the
// track's title and number. TagLib reads the source's tags and renders the
// new ones.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qc {

struct TrackTagFields {
    std::string title;      // TIT2
    std::string performer;  // TPE1 when not empty (else the source's stays)
    std::string album;      // TALB when not empty (else the source's stays)
    int number = 0, count = 0;         // TRCK "number/count"
    std::int64_t milliseconds = 0;     // TLEN, set where the source had one
};

// The ID3v2.4 tag of a track; sourcetag is the source's ID3v2 tag as it is
// in the file (empty when it has none). Frames that describe the source's
// own timeline (chapters, synchronised lyrics and timing codes, the MPEG
// location table, a seek frame) are not carried over.
std::vector<std::uint8_t> trackid3v2(std::span<const std::uint8_t> sourcetag, const TrackTagFields& fields);

// The 128-byte ID3v1 tag of a track from the source's (which must be one).
std::vector<std::uint8_t> trackid3v1(std::span<const std::uint8_t> sourcetag, const TrackTagFields& fields);

}  // namespace qc
