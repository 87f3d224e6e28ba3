#include "stream/loaded_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace qc {

namespace {

// the whole pages inside [at, at + n)
void populate(void* at, std::size_t n)
{
#ifdef MADV_POPULATE_WRITE
    static const long page = ::sysconf(_SC_PAGESIZE) > 0 ? ::sysconf(_SC_PAGESIZE) : 4096;
    const auto mask = static_cast<std::uintptr_t>(page - 1);
    const auto from = (reinterpret_cast<std::uintptr_t>(at) + mask) & ~mask;
    const auto to = (reinterpret_cast<std::uintptr_t>(at) + n) & ~mask;
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)at;
    (void)n;
#endif
}

}  // namespace

LoadedFile& theloadedfile()
{
    static LoadedFile file;
    return file;
}

void prepareframeslots(LoadedFile& f, std::int64_t count)
{
    const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, framecapacity));
    populate(f.framepos, n * sizeof f.framepos[0]);
    populate(f.framegain, n * sizeof f.framegain[0]);
}

}  // namespace qc
