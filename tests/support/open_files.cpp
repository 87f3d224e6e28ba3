#include "support/open_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace qctest {

namespace fs = std::filesystem;

namespace {

std::string canonicalof(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(path, ec);
    return ec ? path : p.string();
}

}  // namespace

bool openinprocess(const std::string& path)
{
    const std::string want = canonicalof(path);
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code ignored;
        const fs::path target = fs::read_symlink(e.path(), ignored);
        if (!ignored && target.string() == want)
            return true;
    }
    return false;
}

bool mappedinprocess(const std::string& path)
{
    const std::string want = canonicalof(path);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const std::size_t at = line.find('/');
        if (at != std::string::npos && line.compare(at, std::string::npos, want) == 0)
            return true;
    }
    return false;
}

}  // namespace qctest
