#include "analysis/preset_answers.h"

namespace qc {

PresetAnswers PresetAnswers::yes()
{
    PresetAnswers a;
    a.proceed = a.display = a.include = Answer::Yes;
    a.truncate = Answer::Ok;
    return a;
}

PresetAnswers PresetAnswers::no()
{
    PresetAnswers a;
    a.proceed = a.display = a.include = Answer::No;
    a.truncate = Answer::Cancel;
    return a;
}

bool cancellable(Question::Kind kind)
{
    return kind != Question::ImproperHeader && kind != Question::ImproperFrameSize;
}

Answer PresetAnswers::ask(const Question& question)
{
    asked.push_back(question);
    if (cancelfirst && asked.size() == 1)
        return cancellable(question.kind) ? Answer::Cancel : Answer::No;
    switch (question.kind) {
    case Question::ImproperHeader:
    case Question::ImproperFrameSize:
        return proceed;
    case Question::Include:
        return include;
    case Question::Truncate:
        return truncate;
    default:
        return display;
    }
}

void PresetAnswers::tell(const Notice& notice)
{
    told.push_back(notice);
}

void PresetAnswers::reset()
{
    asked.clear();
    told.clear();
}

}  // namespace qc
