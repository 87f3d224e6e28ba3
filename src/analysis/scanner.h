// The load of a file: leading structures (ID3v2 tag, RIFF header, unknown
// data), the first frame, the walk from frame to frame with its probes and
// searches under the user's error policy, then the trailing structures and
// the summary in the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cutting/cut_positions.h"
#include "stream/loaded_file.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"
#include "ui/platform.h"

namespace qc {

enum class ErrorPolicy { Fail, Prompt, Attempt };

// Size of the named file, opened as the loader opens it (read and write
// access); 0 when it cannot be opened. Sizes beyond 32 bits are returned as
// they are so that the caller can refuse them.
std::int64_t filesizebyname(const std::string& name);

// Load error texts, shown after "Error processing file: \r\n ".
namespace loaderror {
inline constexpr const char* disk = "Disk or unknown error.";
inline constexpr const char* tagtoolarge = "Header (ID3v2) tag larger than 256K.";
inline constexpr const char* invalidheader = "Invalid header.";
inline constexpr const char* notmp3rate = "Not a 32 or 44.1 or 48KHz mp3 file.";
inline constexpr const char* notmp3 = "Not a mp3 file or unknown format header tag.";
inline constexpr const char* maxframes = "Maximum of 500,000 frames reached.";
inline constexpr const char* variablerate = "Variable sampling rate mp3 - not allowed.";
inline constexpr const char* framesize = "Improper frame size";
inline constexpr const char* toolarge = "File of 2 GB or more - too large to process.";
}  // namespace loaderror

inline constexpr const char* errorprefix = "Error processing file: \r\n ";

class Scanner {
public:
    Scanner(LoadedFile& file, ui::MainForm& form, CutPositions& cuts, ui::MessageBox& box,
            ui::EventPump& pump, ui::TextMeasure& measure);

    // Runs the whole load of file.sourcename; its outcome is file.loadok and
    // the state of the main window. freshload (Open) resets the cuts and the
    // removal boxes first; Reload keeps them.
    void scanfile(bool freshload);

    // Runs at the end of every successful load (the silence auto-use).
    std::function<void()> afterload;

    ErrorPolicy policy() const;

private:
    struct Stop {
        std::string error;  // empty: cancelled without a message
    };
    [[noreturn]] void error(const std::string& text);
    [[noreturn]] void abandon();

    void run(bool freshload);
    void checked();
    void readat(std::int64_t pos, void* buf, std::size_t n);
    std::uint8_t byteat(std::int64_t pos);
    bool probe(std::int64_t x);
    int ask(const std::string& text, int style, const std::string& caption);

    // leading structures and the first frame
    void chunksearch(std::int64_t from);
    void firstframecheck(std::int64_t t);
    void bytesearch(std::uint8_t c, std::int64_t cpos);

    // the walk: each step says where the walk goes next
    struct Step {
        enum Kind { Frame, Probe, Trailing, Summary, Exhausted } kind;
        std::int64_t pos;   // frame start, or where the trailing phase begins
        std::uint8_t b2;    // header byte 2 of the frame
        int stage;          // first probe stage to try
    };
    void walk(std::int64_t p, std::uint8_t b2);
    Step recordframe(std::int64_t p, std::uint8_t b2);
    Step probes(int fromstage);
    Step longsearch();
    Step freeformatsearch(std::int64_t p);

    // trailing structures and summary
    void footersearch(std::int64_t s);
    void trailingphase(std::int64_t p0);
    void trailingfromtag(std::int64_t p0);
    void exhausted(std::int64_t p);
    std::string showdata(std::int64_t from, std::int64_t to);
    void databox(std::int64_t from, std::int64_t to);
    int askinclude();
    void loadsummary();
    std::string shortenedname() const;

    void progress();
    void cancelexit();
    void commonexit();

    LoadedFile& f_;
    ui::MainForm& w_;
    CutPositions& cuts_;
    ui::MessageBox& box_;
    ui::EventPump& pump_;
    ui::TextMeasure& measure_;

    bool freshload_ = true;
    std::int64_t size_ = 0;  // filesize, wide for arithmetic near 2 GiB
    std::int64_t e_ = 0;     // where the next frame is expected
    int resyncstage_ = 0;
    std::int64_t improperpos_ = 0;
    bool done_ = false;      // the summary has run
};

}  // namespace qc
