#include "analysis/scanner.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>

#include "stream/frame_gain.h"
#include "stream/source_identity.h"

namespace qc {

namespace {

// Nobody to ask: every question stops the load.
class NoAnswers : public LoadQuestions {
public:
    Answer ask(const Question&) override { return Answer::Cancel; }
    void tell(const Notice&) override {}
};
}  // namespace

std::int64_t filesizebyname(const std::string& name)
{
    BinaryFile file;
    if (!file.openforreading(name)) {
        file.ioresult();
        return 0;
    }
    std::int64_t size = file.size();
    file.close();
    file.ioresult();
    return size < 0 ? 0 : size;
}

Scanner::Scanner(LoadedFile& file) : f_(file) {}

Loaded loadfile(const std::string& path, const LoadOptions& options)
{
    Loaded out;
    out.file.sourcename = path;
    out.report = Scanner(out.file).scanfile(options);
    return out;
}

void Scanner::error(Cause failure, int errnum, std::int64_t position)
{
    // What looks like damage may be the zeros of a map past the end of a file
    // cut short meanwhile: the read through the window would have failed.
    if (failure != Cause::Disk && failure != Cause::Cancelled && in_.cutshort()) {
        failure = Cause::Disk;
        errnum = systemerror(BinaryFile::eof_error);
        position = 0;
    }
    report_.error = makeerror(failure, Blame::Source, errnum, f_.sourcename,
                              failure == Cause::Disk ? qc::Step::Read : qc::Step::None, position);
    throw Stop{};
}

void Scanner::abandon(const Question& question)
{
    report_.cancelledat = question;
    error(Cause::Cancelled);
}

void Scanner::checked()
{
    if (int code = in_.ioresult(); code != 0)
        error(Cause::Disk, systemerror(code));
}

// The walk reads the bytes it needs where they lie in the file's read window;
// only when they are not all in the file does it take the ordinary read,
// whose failure is the one the load reports.
void Scanner::readat(std::int64_t pos, void* buf, std::size_t n)
{
    if (pos < 1)
        error(Cause::Disk);
    if (const std::uint8_t* in = in_.view(pos - 1, n)) {
        std::memcpy(buf, in, n);
        return;
    }
    in_.seek(pos - 1);
    in_.read(buf, n);
    checked();
}

std::uint8_t Scanner::byteat(std::int64_t pos)
{
    if (pos >= 1) {
        if (const std::uint8_t* in = in_.view(pos - 1, 1))
            return *in;
    }
    std::uint8_t b = 0;
    readat(pos, &b, 1);
    return b;
}

bool Scanner::probe(std::int64_t x)
{
    if (x >= 1) {
        if (const std::uint8_t* in = in_.view(x - 1, 2))
            return framesync(in[0], in[1], f_.versionbits);
    }
    std::uint8_t b[2];
    readat(x, b, 2);
    return framesync(b[0], b[1], f_.versionbits);
}

bool Scanner::probefirst(std::int64_t x)
{
    std::uint8_t b[2];
    readat(x, b, 2);
    return layer3sync(b[0], b[1]);
}

Answer Scanner::ask(const Question& question)
{
    return options_.questions->ask(question);
}

void Scanner::tell(const Notice& notice)
{
    options_.questions->tell(notice);
}

LoadReport Scanner::scanfile(const LoadOptions& options)
{
    static NoAnswers noanswers;
    options_ = options;
    if (!options_.questions)
        options_.questions = &noanswers;
    report_ = LoadReport{};
    try {
        run();
    } catch (const Stop&) {
        f_.loadok = false;
    }
    if (in_.isopen())
        in_.close();
    in_.ioresult();
    report_.ok = f_.loadok;
    if (report_.ok)
        summarize(f_, report_);
    return std::move(report_);
}

void Scanner::run()
{
    f_.ratecount = {};
    f_.loadok = false;
    f_.versionbits = version1;

    std::int64_t size = filesizebyname(f_.sourcename);
    size_ = size;
    f_.filesize = size;

    e_ = 0;
    f_.clearframes();
    f_.leadingstart = 0;

    resyncstage_ = 0;
    f_.footerpos = 0;
    f_.headtagpresent = f_.footerfound = f_.riffpresent = false;
    f_.footerspan = 127;
    f_.includeleading = f_.includebetween = f_.includeafter = false;
    f_.betweenstart = f_.afterstart = 0;
    f_.overrun = false;
    done_ = false;

    in_.setmapping(options_.map);
    if (!in_.openforreading(f_.sourcename)) {
        const int code = systemerror(in_.ioresult());
        report_.error = makeerror(Cause::Disk, Blame::Source, code, f_.sourcename, qc::Step::Open);
        throw Stop{};
    }
    f_.identity = identityof(in_.handle());

    std::uint8_t head[4] = {};
    readat(1, head, 3);
    if (std::memcmp(head, "ID3", 3) == 0) {
        f_.headtagpresent = true;
        std::uint8_t s[4];
        readat(7, s, 4);
        // synchsafe 28-bit size, plus the 10-byte tag header
        std::int64_t tagsize = (s[3] & 0x7F) + (s[2] & 0x7F) * 128 + (s[1] & 0x7F) * 16384 +
                               static_cast<std::int64_t>(s[0] & 0x7F) * 2097152 + 10;
        f_.headtagsize = tagsize;
        std::int64_t t = tagsize + 1;
        // a tag of any size the file holds; one that reaches past the end
        // of the file is damage (or no tag at all)
        if (t + 4 > size_ + 1)
            error(Cause::TagPastEnd);
        std::uint8_t after[4];
        readat(t, after, 4);
        if (std::memcmp(after, "RIFF", 4) == 0) {
            f_.riffstart = t;
            chunksearch(t + 8);
        } else {
            firstframecheck(t);
        }
        return;
    }
    if (std::memcmp(head, "RIF", 3) == 0) {
        readat(1, head, 4);
        if (head[3] == 'F') {
            f_.riffstart = 1;
            chunksearch(8);
            return;
        }
    }
    firstframecheck(1);
}

// A RIFF header: look for the "data" chunk, whose content must begin with a frame.
void Scanner::chunksearch(std::int64_t from)
{
    f_.riffpresent = true;
    std::int64_t q = from;
    int k = 0;
    for (;;) {
        std::uint8_t w[4];
        readat(q, w, 4);
        ++q;
        ++k;
        if (q > size_ - 8 || k > 512)
            error(Cause::NotMp3Rate);
        if (std::memcmp(w, "data", 4) == 0)
            break;
    }
    std::int64_t content = q - 1 + 8;  // after "data" and its 4-byte size
    if (!probefirst(content))
        error(Cause::NotMp3Rate);
    bytesearch(byteat(content), content);
}

void Scanner::firstframecheck(std::int64_t t)
{
    if (probefirst(t)) {
        bytesearch(byteat(t), t);
        return;
    }
    switch (options_.policy) {
    case ErrorPolicy::Fail:
        error(Cause::InvalidHeader);
    case ErrorPolicy::Prompt:
        if (ask({Question::ImproperHeader}) != Answer::Yes)
            error(Cause::InvalidHeader);
        break;
    case ErrorPolicy::Attempt:
        break;
    }
    f_.leadingstart = t;
    bytesearch(byteat(t + 1), t + 1);
}

// Byte by byte to the first frame sync; c is the byte at cpos.
void Scanner::bytesearch(std::uint8_t c, std::int64_t cpos)
{
    int k = 0;
    for (;;) {
        if (c == 0xFF) {
            k = 0;
            std::uint8_t c2 = byteat(cpos + 1);
            if (layer3sync(c, c2)) {
                // header candidate at cpos: MPEG-1, 2 or 2.5 Layer III
                std::int64_t p = cpos;
                f_.headerlen = (c2 & 0x01) != 0 ? 4 : 6;
                std::uint8_t b2 = byteat(p + 2);
                SampleRate rate{};
                if (samplerate(c2, b2, rate)) {
                    f_.setformat(rate);
                    walk(p, b2);
                    return;
                }
                // reserved sampling frequency: a false sync near the start
                if (p >= 255)
                    error(Cause::NotMp3Rate);
                if (b2 == 0xFF) {
                    c = b2;
                    cpos = p + 2;
                    continue;
                }
                c = byteat(p + 3);
                cpos = p + 3;
                continue;
            }
            if (cpos + 2 >= size_ - 8)
                error(Cause::NotMp3Rate);
            ++k;
            c = c2;
            cpos += 1;
            continue;
        }
        if (cpos + 1 >= size_ - 8)
            error(Cause::NotMp3Rate);
        ++k;
        if ((c != 0 && k > 8192) || k > 65536)
            error(Cause::NotMp3);
        c = byteat(cpos + 1);
        cpos += 1;
    }
}

void Scanner::progress()
{
    long pct = size_ > 0 ? std::lround(100.0 * static_cast<double>(e_) / static_cast<double>(size_)) : 0;
    if (options_.progress)
        options_.progress->position(static_cast<int>(std::clamp<long>(pct, 0, 100)));
}

// The walk from frame to frame, as a loop over steps so that a file of
// half a million frames never nests calls.
void Scanner::walk(std::int64_t p, std::uint8_t b2)
{
    const bool streaks = options_.streaks;
    // about as many frames as the first one's length goes into the rest
    if (const int i = b2 >> 4; kbps(f_.versionbits, i) >= 2) {
        const auto expected =
            static_cast<std::size_t>((size_ - p) / framebytes(f_.versionbits, f_.sampleratebits, i, 0) + 1);
        f_.framepos.reserve(expected);
        f_.framegain.reserve(expected);
    }
    Step step{Step::Frame, p, b2, 0};
    for (;;) {
        switch (step.kind) {
        case Step::Frame:
            if (streaks)
                step = streak(step.pos, step.b2);
            if (step.kind == Step::Frame)
                step = recordframe(step.pos, step.b2);
            break;
        case Step::Probe:
            step = probes(step.stage);
            break;
        case Step::Trailing:
            trailingphase(step.pos);
            return;
        case Step::Summary:
            loadsummary();
            return;
        case Step::Exhausted:
            exhausted(step.pos);
            return;
        }
    }
}

// The frames of a well-formed stretch, one after another in one loop: each
// with the stream's sample rate and a bitrate from the table, its header and
// side information at hand, the next one exactly where it ends, away from
// the end of the file and from the frames where progress is told. The record
// comes out as recordframe and probes would leave it frame by frame; the
// first frame that is anything else is left to them (a Frame step at that
// frame, or a Probe step where the next one was not found).
Scanner::Step Scanner::streak(std::int64_t p, std::uint8_t b2)
{
    BinaryFile& in = in_;
    const std::size_t crc = f_.headerlen == 6 ? 2 : 0;
    const std::uint8_t rate = f_.sampleratebits;
    const std::uint8_t version = f_.versionbits;
    const std::int64_t last = size_ - 5;
    std::int64_t count = f_.framecount;
    Step next{Step::Frame, p, b2, 0};
    while (count % 256 != 0) {
        const int i = b2 >> 4;
        if ((b2 & 0x0C) != rate || kbps(version, i) < 2)
            break;
        const std::int64_t e = p + framebytes(version, rate, i, b2 & 0x02);
        if (e >= last)
            break;
        const std::uint8_t* h = in.view(p + 2, 1 + crc + 29);
        if (h == nullptr)
            break;
        f_.channelmode = h[0] & 0xC0;
        f_.addframe(p, gainfromsideinfo(version, h[0], h + 1 + crc));
        count += 1;
        f_.ratecount[i] += 1;
        e_ = e;
        in.hint(p - 1 + 16 * (e - p));
        const std::uint8_t* s = in.view(e - 1, 3);
        if (s == nullptr || !framesync(s[0], s[1], version)) {
            next = {Step::Probe, 0, 0, 0};
            break;
        }
        // found where it was expected, as the first probe finds it
        resyncstage_ = 0;
        p = e;
        b2 = s[2];
        next = {Step::Frame, p, b2, 0};
    }
    return next;
}

// Records the frame at p and decides where the walk goes next.
Scanner::Step Scanner::recordframe(std::int64_t p, std::uint8_t b2)
{
    // header byte 3, the CRC word if any, and the longest side information
    const std::size_t crc = f_.headerlen == 6 ? 2 : 0;
    std::uint8_t gain = 0;
    if (const std::uint8_t* h = in_.view(p + 2, 1 + crc + 29)) {
        f_.channelmode = h[0] & 0xC0;
        gain = gainfromsideinfo(f_.versionbits, h[0], h + 1 + crc);
    } else {
        // too near the end of the file: what can be read counts, as it always has
        in_.seek(p + 2);
        gain = extractgain(in_, f_.versionbits, f_.headerlen, f_.channelmode);
    }
    f_.addframe(p, gain);
    if (f_.framecount % 256 == 1)
        progress();
    int i = b2 >> 4;
    if ((b2 & 0x0C) != f_.sampleratebits && i != 0)
        error(Cause::VariableRate);
    if (kbps(f_.versionbits, i) < 2) {
        if (i == 0) {
            f_.ratecount[0] += 1;
            return freeformatsearch(p);
        }
        // bitrate index 15: not a frame after all
        f_.dropframe();
        if (resyncstage_ >= 1 && resyncstage_ <= 4)
            return {Step::Probe, 0, 0, resyncstage_ + 1};
        error(Cause::ImproperFrameHeader, 0, p + 3);
    }
    f_.ratecount[i] += 1;
    e_ = p + framebytes(f_.versionbits, f_.sampleratebits, i, b2 & 0x02);
    // Each step waits on the header it reads: the header some frames on
    // (where it lies if the frames keep this length) is fetched meanwhile.
    constexpr std::int64_t lookahead = 16;
    in_.hint(p - 1 + lookahead * (e_ - p));
    if (e_ >= size_ - 5) {
        if (size_ - p < 127)
            return {Step::Summary, 0, 0, 0};
        e_ = size_ - 127;
        f_.overrun = true;
        return {Step::Trailing, e_, 0, 0};
    }
    return {Step::Probe, 0, 0, 0};
}

// Probes around E from the given stage: E, E + 2, E - 1, E + 1, E - 2; stage
// 5 is the policy decision and the long search.
Scanner::Step Scanner::probes(int fromstage)
{
    static constexpr int offsets[5] = {0, 2, -1, 1, -2};
    for (int stage = fromstage; stage < 5; ++stage) {
        std::int64_t x = e_ + offsets[stage];
        if (probe(x)) {
            resyncstage_ = stage;
            return {Step::Frame, x, byteat(x + 2), 0};
        }
        // a frame of another MPEG version right where the next one belongs:
        // the stream changes version, which a cut of it cannot follow
        if (stage == 0 && x + 3 <= size_) {
            std::uint8_t h[3];
            readat(x, h, 3);
            SampleRate other{};
            if (layer3sync(h[0], h[1]) && samplerate(h[1], h[2], other) && kbps(versionof(h[1]), h[2] >> 4) >= 2)
                error(Cause::VersionChanged, 0, x);
        }
    }
    if (in_.cutshort())
        error(Cause::Disk, systemerror(BinaryFile::eof_error));
    if (size_ - e_ < 1574)
        return {Step::Trailing, e_, 0, 0};
    switch (options_.policy) {
    case ErrorPolicy::Fail:
        error(Cause::FrameSize);
    case ErrorPolicy::Prompt: {
        const Question q{Question::ImproperFrameSize, f_.framepos[f_.framecount - 1] - 1};
        if (ask(q) != Answer::Yes)
            abandon(q);
        break;
    }
    case ErrorPolicy::Attempt:
        break;
    }
    return longsearch();
}

Scanner::Step Scanner::longsearch()
{
    improperpos_ = e_;
    std::int64_t q = e_ + 3;
    for (int k = 1;; ++k) {
        if (probe(q)) {
            resyncstage_ = 5;
            return {Step::Frame, q, byteat(q + 2), 0};
        }
        if (size_ - q < 1442)
            return {Step::Summary, 0, 0, 0};
        if (k == 1024)
            return {Step::Exhausted, improperpos_, 0, 0};
        ++q;
    }
}

// A free-format frame ends where the next sync is found.
Scanner::Step Scanner::freeformatsearch(std::int64_t p)
{
    std::int64_t next = p + 3;  // position of the next byte to read
    int n = 0;
    bool seenff = false;
    for (;;) {
        if (next >= size_ - 8)
            return {Step::Summary, 0, 0, 0};
        if (seenff ? n >= 1442 : n > 1442)
            error(Cause::ImproperFrameHeader, 0, next);
        std::uint8_t b = byteat(next);
        ++n;
        ++next;
        if (seenff && framesync(0xFF, b, f_.versionbits)) {
            // Found by searching, not by probing around E: an invalid header
            // here must not send the probes back to an E left by an earlier
            // frame, which would walk the file backwards.
            resyncstage_ = 0;
            return {Step::Frame, next - 2, byteat(next), 0};
        }
        seenff = b == 0xFF;
    }
}

}  // namespace qc
