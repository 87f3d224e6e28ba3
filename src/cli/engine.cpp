#include "cli/engine.h"

#include "shell/load_texts.h"

namespace qccli {

Engine::Engine()
    : file(qc::theloadedfile()), cuts(file, form), scanner(file, form, cuts, box, pump, measure)
{
    cuts.wire();
    scanner.answers = &box.answers;
}

bool Engine::load(const std::string& path, const LoadOptions& options)
{
    box.reset();
    qc::PresetAnswers& a = box.answers;
    a.proceed = options.attempt ? qc::Answer::Yes : qc::Answer::No;
    a.display = qc::Answer::No;
    a.truncate = options.attempt ? qc::Answer::Ok : qc::Answer::Cancel;
    a.include = options.includeunknown ? qc::Answer::Yes : qc::Answer::No;
    form.failmenu.setchecked(!options.attempt);
    form.trymenu.setchecked(options.attempt);
    form.promptmenu.setchecked(false);
    file.sourcename = path;  // never cut: a cut name would name another file
    scanner.scanfile(true);
    const qc::LoadReport& r = scanner.report();
    for (const qc::Notice& n : r.warnings)
        box.warnings.push_back(qc::noticebox(n).text);
    box.error = scanner.errortext();
    if (!file.loadok && box.error.empty())
        box.error = r.cancelledat && r.cancelledat->kind == qc::Question::Truncate
                        ? "Damaged data near the file end; truncation refused by --policy fail."
                        : "Load cancelled.";
    return file.loadok;
}

}  // namespace qccli
