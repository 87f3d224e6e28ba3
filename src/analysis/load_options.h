// What a load needs from whoever runs it: the error policy, someone to
// answer its questions and hear its notices, and someone to follow its
// progress. The load never shows anything itself; the window program turns
// questions into message boxes, quillcut-cli and the test rigs answer them
// from fixed choices (analysis/preset_answers.h).
#pragma once

#include <cstdint>
#include <string>

namespace qc {

enum class ErrorPolicy { Fail, Prompt, Attempt };

enum class Answer { Yes, No, Ok, Cancel };

struct Question {
    enum Kind {
        ImproperHeader,     // no frame at the start: continue? (Yes/No)
        ImproperFrameSize,  // value: where the last good frame began, 0-based; continue? (Yes/No)
        LeadingData,        // value: bytes before the first frame; display? (Yes/No/Cancel)
        DataAfterTag,       // value: bytes after the ID3v1 tag; display? (Yes/No/Cancel)
        DataBeforeTag,      // value: bytes between the frames and the tag; display? (Yes/No/Cancel)
        DataAtEnd,          // value: bytes after the frames; display? (Yes/No/Cancel)
        DamagedTail,        // uninterpretable data near the end; display? (Yes/No/Cancel)
        Truncate,           // cut the damaged tail off, or cancel? (Ok/Cancel)
        Include,            // include the stretch just asked about? (Yes/No/Cancel)
    };
    Kind kind;
    std::int64_t value = 0;
    bool operator==(const Question&) const = default;
};

struct Notice {
    enum Kind {
        DamagedFooter,  // an ID3v1 tag cut short: it is never written out
        FreeFormat,     // count free-format frames: the duration may be off by up to seconds
        ShowData,       // text: some of the stretch asked about, as printable text
    };
    Kind kind;
    std::int64_t count = 0;
    double seconds = 0;
    std::string text;
};

class LoadQuestions {
public:
    virtual ~LoadQuestions() = default;
    virtual Answer ask(const Question& question) = 0;
    virtual void tell(const Notice& notice) = 0;
};

class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    // The walk has reached percent of the file (0..100); also the moment to
    // let the rest of the program breathe.
    virtual void position(int percent) = 0;
    // The walk over the frames is done; questions about what surrounds
    // them may follow.
    virtual void walkdone() = 0;
};

struct LoadOptions {
    ErrorPolicy policy = ErrorPolicy::Prompt;
    LoadQuestions* questions = nullptr;  // none: every question is answered Cancel
    LoadProgress* progress = nullptr;    // none: nobody follows
    // Whether the walk takes well-formed stretches of frames in one loop;
    // tests and fuzzers turn it off to check that the frame-by-frame steps
    // leave the same record.
    bool streaks = true;
    // Whether the source is read through a memory map or through reads;
    // both must end a load alike.
    bool map = true;
};

}  // namespace qc
