#include "cli/engine.h"

#include "analysis/preset_answers.h"
#include "analysis/scanner.h"
#include "texts/load_texts.h"

namespace qccli {

namespace {
const char* const refusedtail = "Damaged data near the file end; truncation refused by --policy fail.";
const char* const cancelled = "Load cancelled.";
}  // namespace

bool Engine::load(const std::string& path, const LoadOptions& options)
{
    failure.reset();
    warnings.clear();
    truncated = false;
    // continue at damage and truncate a damaged tail under --policy attempt;
    // include unknown data with --include-unknown; never display data,
    // nobody would read it
    qc::PresetAnswers answers;
    answers.proceed = options.attempt ? qc::Answer::Yes : qc::Answer::No;
    answers.display = qc::Answer::No;
    answers.truncate = options.attempt ? qc::Answer::Ok : qc::Answer::Cancel;
    answers.include = options.includeunknown ? qc::Answer::Yes : qc::Answer::No;
    file = {};
    file.sourcename = path;  // never cut: a cut name would name another file
    // the open's own refusal says more than the load's one disk error
    if ((failure = openfailure(path)))
        return false;
    qc::Loaded loaded =
        qc::loadfile(path, {options.attempt ? qc::ErrorPolicy::Attempt : qc::ErrorPolicy::Fail, &answers, nullptr});
    file = std::move(loaded.file);
    report = std::move(loaded.report);
    for (const qc::Notice& n : report.warnings)
        warnings.push_back(qc::noticebox(n).text);
    if (!file.loadok) {
        std::string text = report.error.failed() ? qc::failuretext(report.error) : std::string();
        if (text.empty())
            text = report.cancelledat && report.cancelledat->kind == qc::Question::Truncate ? refusedtail : cancelled;
        failure = loadfailure(path, report.error, text);
        return false;
    }
    for (const qc::Question& q : answers.asked)
        truncated = truncated || q.kind == qc::Question::Truncate;
    if (truncated && file.afterstart != 0)
        warnings.push_back("Damaged data near the file end (" + std::to_string(file.filesize - file.afterstart + 1) +
                           " bytes at byte " + std::to_string(file.afterstart - 1) +
                           ") was cut off: it is not part of any output.");
    return true;
}

}  // namespace qccli
