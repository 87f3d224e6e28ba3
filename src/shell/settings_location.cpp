#include "shell/settings_location.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "shell/settings.h"
#include "stream/binary_file.h"

#ifndef QC_DATA_FROM_BIN
#error "QC_DATA_FROM_BIN must be defined by the build"
#endif

namespace qc {

namespace {

constexpr const char* appfolder = "quillcut";

bool absolute(const char* p)
{
    return p != nullptr && p[0] == '/';
}

std::string joined(const std::string& dir, const std::string& name)
{
    return (!dir.empty() && dir.back() == '/' ? dir : dir + "/") + name;
}

std::string trimmed(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

// A file the settings code can open for reading and writing.
bool usable(const std::string& path)
{
    BinaryFile file;
    const bool ok = file.openexisting(path);
    file.close();
    file.ioresult();
    return ok;
}

// The default, read whole; empty unless it has exactly the record's length.
std::vector<char> readdefault(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::vector<char> bytes(static_cast<std::size_t>(settingssize) + 1);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != static_cast<std::size_t>(settingssize))
        return {};
    bytes.resize(got);
    return bytes;
}

bool writeall(int fd, const std::vector<char>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string userconfigdir(const char* xdgconfighome, const char* home)
{
    if (absolute(xdgconfighome))
        return trimmed(xdgconfighome);
    if (absolute(home)) {
        const std::string h = trimmed(home);
        return (h == "/" ? "" : h) + "/.config";
    }
    return "";
}

SettingsPlaces settingsplaces(const std::string& exepath)
{
    SettingsPlaces p;
    p.exedir = settingsdirectory(settingspath(exepath));
    p.configdir = userconfigdir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    p.datadir = joined(p.exedir, QC_DATA_FROM_BIN);
    return p;
}

std::string settingslocation(const SettingsPlaces& places)
{
    const std::string beside = joined(places.exedir, settingsname);
    if (places.configdir.empty() || usable(beside))
        return beside;
    const std::string folder = joined(places.configdir, appfolder);
    const std::string own = joined(folder, settingsname);
    if (::access(own.c_str(), F_OK) != 0 && errno == ENOENT) {
        // Only our own folder is made (private, as configuration folders
        // are); a configuration directory that is missing altogether is made
        // too, but nothing above it.
        ::mkdir(places.configdir.c_str(), 0700);
        ::mkdir(folder.c_str(), 0700);
        createfromdefault(own, joined(places.datadir, settingsname));
    }
    return own;
}

bool createfromdefault(const std::string& target, const std::string& defaultfile)
{
    const std::vector<char> bytes = readdefault(defaultfile);
    if (bytes.empty())
        return false;
    // Written under a temporary name, then linked into place: link() never
    // replaces, so an existing file (a copy made by another start meanwhile)
    // is left alone, and a half-written copy never carries the real name.
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0644) == 0 && writeall(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::link(temp.c_str(), target.c_str()) == 0;
    ::unlink(temp.c_str());
    return ok;
}

std::string settingsdirectory(const std::string& settingsfile)
{
    const std::size_t slash = settingsfile.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : settingsfile.substr(0, slash);
}

}  // namespace qc
