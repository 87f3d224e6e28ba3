#include "cli/engine.h"

namespace qccli {

namespace {
qc::LoadedFile& theloadedfile()
{
    static qc::LoadedFile file;
    return file;
}
}  // namespace

Engine::Engine()
    : file(theloadedfile()), cuts(file, form), scanner(file, form, cuts, box, pump, measure)
{
    cuts.wire();
}

bool Engine::load(const std::string& path, const LoadOptions& options)
{
    box.reset();
    box.attempt = options.attempt;
    box.includeunknown = options.includeunknown;
    form.failmenu.setchecked(!options.attempt);
    form.trymenu.setchecked(options.attempt);
    form.promptmenu.setchecked(false);
    file.sourcename = path;  // never cut: a cut name would name another file
    scanner.scanfile(true);
    if (!file.loadok && box.error.empty())
        box.error = box.refusedtruncation
                        ? "Damaged data near the file end; truncation refused by --policy fail."
                        : "Load cancelled.";
    return file.loadok;
}

}  // namespace qccli
