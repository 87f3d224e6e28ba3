// Everything known about a loaded source file, as a value: whoever loads a
// file owns the record of it (the window program one, quillcut-cli one per
// file, a test as many as it likes). The per-frame arrays grow with the
// file: nine bytes a frame, so a day of 128 kbps audio (3.3 million frames)
// takes about 30 MB.
//
// Positions are 1-based: position 1 is the first byte of the file, the byte
// at position p lives at offset p - 1. Positions, sizes and counts are
// 64-bit, so a file of any size the file system holds can be described.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "stream/frame_header.h"
#include "stream/source_identity.h"

namespace qc {

struct LoadedFile {
    // source file
    std::string sourcename;  // the path as it was given
    std::int64_t filesize = 0;
    // which file the record describes, taken when the load opened it
    SourceIdentity identity;

    // stream format, fixed by the first frame (the one lookup of
    // samplerate() fills all of these)
    std::uint8_t versionbits = version1;  // header byte 1 AND 0x18
    std::uint8_t sampleratebits = 0;
    int samplerate = 44100;               // Hz
    int samplesperframe = 1152;           // 576 for MPEG-2 and 2.5
    double secondsperframe = spf44;
    double framesizefactor = 144000.0 / 44100.0;
    std::uint8_t headerlen = 4;   // side information starts this far into a frame
    std::uint8_t channelmode = 0; // of the most recently recorded frame

    // frames: framepos and framegain hold framecount entries each
    std::int64_t framecount = 0;
    std::vector<std::int64_t> framepos;
    std::vector<std::uint8_t> framegain;
    std::array<std::int64_t, 16> ratecount{};
    std::int64_t totalframes = 0;

    // structures around the frames
    bool headtagpresent = false;
    std::int64_t headtagsize = 0;
    bool riffpresent = false;
    std::int64_t riffstart = 0;
    std::int64_t leadingstart = 0;
    bool includeleading = false;
    bool footerfound = false;
    std::int64_t footerpos = 0;
    std::int64_t footerspan = 127;
    std::int64_t betweenstart = 0;
    bool includebetween = false;
    std::int64_t afterstart = 0;
    bool includeafter = false;
    bool overrun = false;

    // load and save state
    bool loadok = false;
    bool busy = false;
    std::int64_t cutframes[2] = {0, 0};
    bool proposename = false;

    // Takes the stream format of a first frame.
    void setformat(const SampleRate& rate)
    {
        versionbits = rate.versionbits;
        sampleratebits = rate.bits;
        samplerate = rate.hz;
        samplesperframe = rate.samplesperframe;
        secondsperframe = rate.secondsperframe;
        framesizefactor = rate.framesizefactor;
    }

    // Appends a frame (the walk records them in file order).
    void addframe(std::int64_t pos, std::uint8_t gain)
    {
        framepos.push_back(pos);
        framegain.push_back(gain);
        framecount = static_cast<std::int64_t>(framepos.size());
    }
    // Forgets the last recorded frame.
    void dropframe()
    {
        framepos.pop_back();
        framegain.pop_back();
        framecount = static_cast<std::int64_t>(framepos.size());
    }
    // Forgets every frame.
    void clearframes()
    {
        framepos.clear();
        framegain.clear();
        framecount = 0;
    }
    // Sets the frame count of a record built by hand (tests), its arrays
    // sized to match and new entries zero.
    void setframecount(std::int64_t n)
    {
        framepos.resize(static_cast<std::size_t>(n));
        framegain.resize(static_cast<std::size_t>(n));
        framecount = n;
    }
};

// Where the ID3v1 tag the load found begins (its "T", counted from 1): the
// tag reaches footerspan + 1 bytes to the end of the file. footerpos is not
// always it: after a tag directly behind the frames that does not end the
// file, footerpos moves on to the end of the file with the data after the
// frames.
inline std::int64_t footertagpos(const LoadedFile& f)
{
    // (a tag of exactly 127 bytes after its "T" ends the file, at footerpos)
    return f.footerspan == 127 ? f.footerpos : f.filesize - f.footerspan;
}

}  // namespace qc
