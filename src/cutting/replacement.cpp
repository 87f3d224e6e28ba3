#include "cutting/replacement.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace qc {

namespace fs = std::filesystem;

bool samefile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

std::string replacedfile(const std::string& source)
{
    std::error_code ec;
    fs::path real = fs::canonical(source, ec);
    return ec ? source : real.string();
}

std::string temporaryname(const std::string& name)
{
    std::string stem = name.size() > 3 ? name.substr(0, name.size() - 3) : std::string();
    return stem + "tmpmp3";
}

void copypermissions(const std::string& from, const std::string& to)
{
    std::error_code ec;
    fs::file_status st = fs::status(from, ec);
    if (ec)
        return;
    fs::permissions(to, st.permissions(), fs::perm_options::replace, ec);
}

namespace {
// fsync of the directory that holds name, so that a completed rename
// survives a crash. Best effort: some file systems refuse it.
void syncdirectory(const std::string& name)
{
    fs::path dir = fs::path(name).parent_path();
    if (dir.empty())
        dir = ".";
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

bool movereplacement(const std::string& temporary, const std::string& replaced,
                     const std::function<bool(const std::string&, const std::string&)>& rename, bool durable)
{
    if (!rename(temporary, replaced))
        return false;
    if (durable)
        syncdirectory(replaced);
    return true;
}

}  // namespace qc
