// The load of a file: leading structures (ID3v2 tag, RIFF header, unknown
// data), the first frame, the walk from frame to frame with its probes and
// searches under the error policy, then the trailing structures and the
// summary facts. Questions and notices go to the options' answerer; the
// outcome is the record and a load report.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/load_options.h"
#include "analysis/load_report.h"
#include "stream/binary_file.h"
#include "stream/loaded_file.h"

namespace qc {

// Size of the named file, opened as the loader opens it; 0 when it cannot
// be opened.
std::int64_t filesizebyname(const std::string& name);

// A load: a path and options in; the loaded file (a value the caller owns)
// and the report out.
struct Loaded {
    LoadedFile file;
    LoadReport report;
};
Loaded loadfile(const std::string& path, const LoadOptions& options);

// The load into a record the caller holds (the window program reloads into
// its own, whose cuts and busy state the window shares).
class Scanner {
public:
    explicit Scanner(LoadedFile& file);

    // Runs the whole load of file.sourcename. The record is rewritten in
    // place; file.loadok says whether it describes the file, and so does
    // the report. The source is closed afterwards, whatever happened.
    LoadReport scanfile(const LoadOptions& options);

private:
    struct Stop {};
    [[noreturn]] void error(Cause failure, int errnum = 0, std::int64_t position = 0);
    [[noreturn]] void abandon(const Question& question);

    void run();
    void checked();
    void readat(std::int64_t pos, void* buf, std::size_t n);
    std::uint8_t byteat(std::int64_t pos);
    // a frame sync of the stream's version at x
    bool probe(std::int64_t x);
    // a Layer III sync of any version at x (the first frame)
    bool probefirst(std::int64_t x);
    Answer ask(const Question& question);
    void tell(const Notice& notice);
    // the display question's answer: Cancel stops the load, Yes shows the data
    void displayanswer(const Question& question, std::int64_t from, std::int64_t to);
    // asks whether to include the stretch; Cancel stops the load
    bool include();

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
    Step streak(std::int64_t p, std::uint8_t b2);
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
    void loadsummary();

    void progress();

    LoadedFile& f_;
    BinaryFile in_;  // the source, open while the load runs
    LoadOptions options_;
    LoadReport report_;
    std::int64_t size_ = 0;  // filesize, wide for arithmetic near 2 GiB
    std::int64_t e_ = 0;     // where the next frame is expected
    int resyncstage_ = 0;
    std::int64_t improperpos_ = 0;
    bool done_ = false;      // the summary has run
};

}  // namespace qc
