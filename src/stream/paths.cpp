#include "stream/paths.h"

namespace qc {

std::string filenameof(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directorywithslash(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string directoryof(const std::string& path)
{
    std::string dir = directorywithslash(path);
    if (dir.size() > 1)
        dir.pop_back();
    return dir;
}

}  // namespace qc
