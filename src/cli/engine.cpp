#include "cli/engine.h"

#include "shell/load_texts.h"

namespace qccli {

namespace {
const char* const refusedtail = "Damaged data near the file end; truncation refused by --policy fail.";
const char* const cancelled = "Load cancelled.";
}  // namespace

Engine::Engine()
    : cuts(file, form), scanner(file, form, cuts, box, pump, measure)
{
    cuts.wire();
    scanner.answers = &box.answers;
}

bool Engine::load(const std::string& path, const LoadOptions& options)
{
    box.reset();
    failure.reset();
    warnings.clear();
    truncated = false;
    qc::PresetAnswers& a = box.answers;
    a.proceed = options.attempt ? qc::Answer::Yes : qc::Answer::No;
    a.display = qc::Answer::No;
    a.truncate = options.attempt ? qc::Answer::Ok : qc::Answer::Cancel;
    a.include = options.includeunknown ? qc::Answer::Yes : qc::Answer::No;
    form.failmenu.setchecked(!options.attempt);
    form.trymenu.setchecked(options.attempt);
    form.promptmenu.setchecked(false);
    file.sourcename = path;  // never cut: a cut name would name another file
    // the open's own refusal says more than the load's one disk error
    if ((failure = openfailure(path))) {
        file.loadok = false;
        return false;
    }
    scanner.scanfile(true);
    const qc::LoadReport& r = scanner.report();
    for (const qc::Notice& n : r.warnings)
        box.warnings.push_back(qc::noticebox(n).text);
    warnings = box.warnings;
    box.error = scanner.errortext();
    if (!file.loadok) {
        if (box.error.empty())
            box.error = r.cancelledat && r.cancelledat->kind == qc::Question::Truncate ? refusedtail : cancelled;
        failure = loadfailure(path, r.error, box.error);
        return false;
    }
    for (const qc::Question& q : box.answers.asked)
        truncated = truncated || q.kind == qc::Question::Truncate;
    if (truncated && file.afterstart != 0)
        warnings.push_back("Damaged data near the file end (" +
                           std::to_string(std::int64_t{file.filesize} - file.afterstart + 1) + " bytes at byte " +
                           std::to_string(file.afterstart - 1) + ") was cut off: it is not part of any output.");
    return true;
}

}  // namespace qccli
