// Test support: the engine wired as the window program wires it, with a
// scripted message box, and helpers that build MP3 byte streams and files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/scanner.h"
#include "shell/load_command.h"
#include "texts/load_texts.h"
#include "shell/cut_positions.h"
#include "stream/loaded_file.h"
#include "support/scripted_box.h"
#include "ui/main_form.h"

namespace qctest {

using Bytes = std::vector<std::uint8_t>;

struct Loader {
    Loader();
    // Sets the error policy items, as the Options menu would.
    void setpolicy(qc::ErrorPolicy p);
    // Open: sourcename, then a fresh scan. Returns loadok.
    bool load(const std::string& path);
    bool reload();

    qc::LoadedFile file;  // each Loader's own
    ui::MainForm form;
    qc::CutPositions cuts;
    ScriptedBox box;
    CountingPump pump;
    FixedMeasure measure;
    qc::LoadCommand scanner;
};

std::string samplepath(const std::string& name);
std::string fixturepath(const std::string& name);
Bytes readbytes(const std::string& path);

// A directory of its own under the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string write(const std::string& name, const Bytes& bytes) const;

private:
    std::string dir_;
};

// One MPEG-1 Layer III frame: sync, header and side information with every
// global_gain field set to gain, the rest zero. rate is the value of byte 2
// AND 0x0C (0 = 44.1 kHz, 4 = 48 kHz, 8 = 32 kHz); mode is byte 3 AND 0xC0.
struct FrameSpec {
    int bitrateindex = 9;  // 128 kbps
    int rate = 0;
    bool padding = false;
    std::uint8_t mode = 0x40;  // joint stereo
    bool crc = false;
    std::uint8_t gain = 100;
};
Bytes frame(const FrameSpec& spec);
// count frames of the same kind, gains taken from the list in turn when given
Bytes frames(int count, const FrameSpec& spec, const std::vector<std::uint8_t>& gains = {});
Bytes id3v2tag(std::int32_t bodysize);
Bytes id3v1tag(const std::string& title = "Title");
Bytes operator+(Bytes a, const Bytes& b);
Bytes filler(std::size_t n, std::uint8_t value = 0x20);

}  // namespace qctest
