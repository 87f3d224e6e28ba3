#include "cli/engine.h"

namespace qccli {

namespace {
qc::LoadedFile& theloadedfile()
{
    static qc::LoadedFile file;
    return file;
}

const char* const refusedtail = "Damaged data near the file end; truncation refused by --policy fail.";
const char* const cancelled = "Load cancelled.";
}  // namespace

Engine::Engine()
    : file(theloadedfile()), cuts(file, form), scanner(file, form, cuts, box, pump, measure)
{
    cuts.wire();
}

bool Engine::load(const std::string& path, const LoadOptions& options)
{
    box.reset();
    failure.reset();
    warnings.clear();
    box.attempt = options.attempt;
    box.includeunknown = options.includeunknown;
    form.failmenu.setchecked(!options.attempt);
    form.trymenu.setchecked(options.attempt);
    form.promptmenu.setchecked(false);
    file.sourcename = path;  // never cut: a cut name would name another file
    if ((failure = openfailure(path))) {
        file.loadok = false;
        return false;
    }
    scanner.scanfile(true);
    warnings = box.warnings;
    if (!file.loadok) {
        if (box.error.empty())
            box.error = box.refusedtruncation ? refusedtail : cancelled;
        failure = loadfailure(path, box.error);
        return false;
    }
    if (box.truncated && file.afterstart != 0)
        warnings.push_back("Damaged data near the file end (" +
                           std::to_string(std::int64_t{file.filesize} - file.afterstart + 1) + " bytes at byte " +
                           std::to_string(file.afterstart - 1) + ") was cut off: it is not part of any output.");
    return true;
}

}  // namespace qccli
