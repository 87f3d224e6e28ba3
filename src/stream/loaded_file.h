// Everything known about the loaded source file. The program keeps exactly
// one instance with static storage (about 2.5 MB); a load overwrites it in
// place and nothing is allocated per file or per frame.
//
// Positions are 1-based: position 1 is the first byte of the file, the byte
// at position p lives at offset p - 1. Positions, sizes and counts are
// signed 32-bit, so a source is limited to less than 2 GiB.
#pragma once

#include <cstdint>
#include <string>

#include "stream/binary_file.h"
#include "stream/frame_header.h"

namespace qc {

inline constexpr std::int32_t framecapacity = 500272;

struct LoadedFile {
    // source file
    std::string sourcename;  // full path, at most 255 characters
    // the one handle through which the source is read; opened and closed by
    // each operation that reads it, never held open between operations
    BinaryFile sourcefile;
    std::int32_t filesize = 0;

    // stream format, fixed by the first frame
    std::uint8_t sampleratebits = 0;
    double secondsperframe = spf44;
    double framesizefactor = 144000.0 / 44100.0;
    std::uint8_t headerlen = 4;   // side information starts this far into a frame
    std::uint8_t channelmode = 0; // of the most recently recorded frame

    // frames
    std::int32_t framecount = 0;
    // (no initialisers: the record lives in static storage or is made with
    // make_unique<LoadedFile>(), both of which start it at zero, and a
    // constructor that cleared these 2.5 MB would write every page of them
    // before the first frame is recorded)
    std::int32_t framepos[framecapacity];
    std::uint8_t framegain[framecapacity];
    std::int32_t ratecount[16] = {};
    std::int32_t totalframes = 0;

    // structures around the frames
    bool headtagpresent = false;
    std::int32_t headtagsize = 0;
    bool riffpresent = false;
    std::int32_t riffstart = 0;
    std::int32_t leadingstart = 0;
    bool includeleading = false;
    bool footerfound = false;
    std::int32_t footerpos = 0;
    std::int32_t footerspan = 127;
    std::int32_t betweenstart = 0;
    bool includebetween = false;
    std::int32_t afterstart = 0;
    bool includeafter = false;
    bool overrun = false;

    // load and save state
    bool loadok = false;
    bool busy = false;
    std::int32_t cutframes[2] = {0, 0};
    bool proposename = false;
};

// Makes the pages of the first count frame slots present in one call, so
// that a load that will record about that many frames does not fault them
// in one at a time (600 faults for a full record). A hint only: nothing
// changes in the record.
void prepareframeslots(LoadedFile& f, std::int64_t count);

// Where the ID3v1 tag the load found begins (its "T", counted from 1): the
// tag reaches footerspan + 1 bytes to the end of the file. footerpos is not
// always it: after a tag directly behind the frames that does not end the
// file, footerpos moves on to the end of the file with the data after the
// frames.
inline std::int32_t footertagpos(const LoadedFile& f)
{
    // (a tag of exactly 127 bytes after its "T" ends the file, at footerpos)
    return f.footerspan == 127 ? f.footerpos : f.filesize - f.footerspan;
}

// The program-wide record: one static instance for the whole run, shared
// by the window program, quillcut-cli, the tests and the fuzz targets.
LoadedFile& theloadedfile();

// Names are held in strings of at most 255 single-byte characters.
inline std::string shortstring(const std::string& s)
{
    return s.size() > 255 ? s.substr(0, 255) : s;
}

}  // namespace qc
