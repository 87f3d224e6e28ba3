// Cue sheets: read with libcue, written here. A cue sheet names the file
// its times belong to and gives each track's start (INDEX 01, in frames of
// 1/75 s from the file's start), with titles and performers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qc {

// The most tracks a cue sheet holds (two-digit track numbers; libcue and
// players read no more).
inline constexpr int maxcuetracks = 99;

struct CueTrack {
    std::string title, performer;
    std::int64_t index = 0;  // INDEX 01, frames of 1/75 s
    int line = 0;            // the line of its INDEX 01 (1-based)
};

struct CueSheet {
    std::string file;              // the FILE line's name
    std::string title, performer;  // the album's
    int fileline = 0;
    std::vector<CueTrack> tracks;
};

// Why a cue sheet cannot be used, and on which line (0: the whole sheet).
struct CueProblem {
    std::string message;
    int line = 0;
};

struct CueRead {
    std::optional<CueSheet> sheet;
    CueProblem problem;
};

// Reads and parses a cue sheet: refused when it cannot be read or parsed,
// has no track, names more than one file, or its INDEX 01 times run backwards.
CueRead readcuesheet(const std::string& path);
CueRead parsecuesheet(const std::string& text);

// A cue sheet's text: FILE naming file (as MP3), the album's TITLE and
// PERFORMER where given, one TRACK with TITLE and INDEX 01 each.
std::string cuesheettext(const CueSheet& sheet);

}  // namespace qc
