// What lies behind the last frame: the ID3v1 tag, unknown data before and
// after it, and the cut-off tail of a stream damaged near its end.
#include <cstring>

#include "analysis/scanner.h"

namespace qc {

// Looks for "TAG" at s and the following positions, at most 257 of them.
// A read that fails is taken as no tag at that position.
void Scanner::footersearch(std::int64_t s)
{
    std::int64_t pos = s;
    f_.footerpos = pos;
    if (size_ - s < 8)
        return;
    for (int count = 0;;) {
        std::uint8_t t[3] = {};
        if (pos >= 1) {
            in_.seek(pos - 1);
            in_.read(t, 3);
        }
        bool ok = in_.ioresult() == 0 && pos >= 1;
        if (ok && std::memcmp(t, "TAG", 3) == 0) {
            f_.footerfound = true;
            f_.footerspan = size_ - pos;
            return;
        }
        ++pos;
        ++count;
        f_.footerpos = pos;
        if (size_ - pos < 9 || count > 256)
            return;
    }
}

void Scanner::trailingphase(std::int64_t p0)
{
    footersearch(p0);
    if (f_.overrun && !f_.footerfound) {
        loadsummary();
        return;
    }
    trailingfromtag(p0);
}

// From the examination of a found tag on: the data after it, the data
// between the frames and the tag, or the data at the file end.
void Scanner::trailingfromtag(std::int64_t p0)
{
    Question question{Question::DataBeforeTag};
    std::int64_t stretchend = 0;
    bool between = false;
    if (f_.footerfound) {
        if (f_.footerspan < 127) {
            const Notice damaged{Notice::DamagedFooter, 0, 0, {}};
            report_.warnings.push_back(damaged);
            tell(damaged);
        } else if (f_.footerspan > 127) {
            f_.afterstart = f_.footerpos + 128;
            displayanswer({Question::DataAfterTag, size_ - f_.afterstart + 1}, f_.afterstart, size_);
            f_.includeafter = include();
        }
        if (f_.footerpos - p0 > 0) {
            question = {Question::DataBeforeTag, f_.footerpos - p0};
            stretchend = f_.footerpos;
            between = true;
        }
    }
    if (!between) {
        // A file shorter than a tag has none at the standard position, whose
        // first byte would lie before the file: that is no disk error.
        std::uint8_t t[3] = {};
        if (size_ - 127 >= 1)
            readat(size_ - 127, t, 3);
        if (std::memcmp(t, "TAG", 3) == 0) {
            f_.footerfound = true;
            f_.footerpos = size_ - 127;
            loadsummary();
            return;
        }
        question = {Question::DataAtEnd, size_ - p0 + 1};
        f_.footerpos = size_;
        stretchend = size_;
    }
    f_.betweenstart = p0;
    displayanswer(question, p0, stretchend);
    f_.includebetween = include();
    loadsummary();
}

// The resynchronisation after an improper frame size found nothing: damage
// close to the end is cut off, anything earlier fails the load.
void Scanner::exhausted(std::int64_t p)
{
    if (static_cast<double>(p) < 0.98 * static_cast<double>(size_) || f_.framecount < 2)
        error(Cause::FrameSize);
    std::int64_t s = std::min<std::int64_t>(p, f_.framepos[f_.framecount - 1] + 64);
    for (std::int64_t q = s + 1;; q += 2) {
        std::uint8_t t[3];
        readat(q, t, 3);
        if (std::memcmp(t, "TAG", 3) == 0) {
            f_.footerfound = true;
            f_.footerpos = q;
            f_.footerspan = size_ - q;
            trailingfromtag(p);
            return;
        }
        if (q >= p + 1442)
            break;
    }
    displayanswer({Question::DamagedTail}, p, p + 767);
    const Question truncate{Question::Truncate};
    if (ask(truncate) != Answer::Ok)
        abandon(truncate);
    f_.includeafter = false;
    f_.afterstart = p;
    loadsummary();
}

// The bytes from..to-1 as text, at most 769 characters; control characters
// other than CR and LF become spaces.
std::string Scanner::showdata(std::int64_t from, std::int64_t to)
{
    std::string text;
    for (std::int64_t i = from; i <= to - 1 && text.size() <= 768; ++i) {
        std::uint8_t b = 0;
        bool ok = i >= 1;
        if (ok) {
            in_.seek(i - 1);
            in_.read(&b, 1);
            ok = in_.ioresult() == 0;
        }
        if (!ok)
            return "***(DISK ERROR VIEWING DATA)***";
        if (b < 0x20 && b != 0x0D && b != 0x0A)
            b = 0x20;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

void Scanner::displayanswer(const Question& question, std::int64_t from, std::int64_t to)
{
    Answer a = ask(question);
    if (a == Answer::Cancel)
        abandon(question);
    if (a == Answer::Yes)
        tell({Notice::ShowData, 0, 0, showdata(from, to)});
}

bool Scanner::include()
{
    const Question q{Question::Include};
    Answer a = ask(q);
    if (a == Answer::Cancel)
        abandon(q);
    return a == Answer::Yes;
}

}  // namespace qc
