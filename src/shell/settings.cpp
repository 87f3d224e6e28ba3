#include "shell/settings.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "shell/settings_location.h"
#include "stream/binary_file.h"
#include "stream/paths.h"

namespace qc {

namespace {

constexpr std::size_t shortfield = 256;   // length byte + 255 characters
constexpr std::size_t headpart = 523;     // directories, window, toolbar, policy
constexpr std::size_t tailpart = 20;      // info window and silence detection

using Record = std::array<std::uint8_t, settingssize>;

std::int32_t getint(const Record& r, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | r[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(v);
}

void putint(Record& r, std::size_t at, std::int32_t value)
{
    auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        r[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::string getshort(const Record& r, std::size_t at)
{
    const std::size_t len = r[at];
    return std::string(reinterpret_cast<const char*>(&r[at + 1]), len);
}

void putshort(Record& r, std::size_t at, const std::string& s)
{
    const std::size_t len = std::min<std::size_t>(s.size(), shortfield - 1);
    r[at] = static_cast<std::uint8_t>(len);
    std::memcpy(&r[at + 1], s.data(), len);
}

}  // namespace

std::string settingspath(const std::string& exepath)
{
    // The full path is kept: a path cut short could name another file, which
    // the in-place write would then overwrite.
    const std::string dir = directorywithslash(exepath);
    return (dir.empty() ? std::string("./") : dir) + settingsname;
}

std::string homedirectory()
{
    const char* env = std::getenv("HOME");
    std::string home = env ? env : "";
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    // Both directories must fit the record's short strings, savedir with its "/".
    if (home.empty() || home.front() != '/' || home.size() > 254)
        return "/";
    return home;
}

std::string withslash(const std::string& dir)
{
    return !dir.empty() && dir.back() == '/' ? dir : dir + "/";
}

Settings::Settings(ui::Form& mainwindow, std::string& savedirstorage)
    : savedir(savedirstorage), window_(mainwindow)
{
}

std::string Settings::directory() const
{
    return settingsdirectory(path);
}

void Settings::setstartdirectory(const std::string& home)
{
    home_ = home;
    savedir = withslash(home);
    loaddir = home;
}

void Settings::readsettings(ui::MessageBox& box)
{
    BinaryFile file;
    if (!file.openexisting(path) || file.size() != settingssize) {
        file.close();
        file.ioresult();
        reset(box);
        return;
    }
    Record r{};
    file.read(r.data(), headpart);
    if (file.ioresult() != 0) {
        file.close();
        file.ioresult();
        reset(box);
        return;
    }
    // An empty directory means none was chosen yet (the generated default
    // file holds none): the start value stays.
    savedirstored = r[0] != 0;
    if (savedirstored)
        savedir = getshort(r, 0);
    if (r[256] != 0)
        loaddir = getshort(r, 256);
    window_.settop(getint(r, 512));
    window_.setleft(getint(r, 516));
    toolbarmode = r[520];
    toolbarstyle = r[521];
    errorpolicy = r[522];

    file.read(r.data() + headpart, tailpart);
    if (file.ioresult() != 0) {
        file.close();
        file.ioresult();
        reset(box);
        return;
    }
    infoleft = getint(r, 523);
    infotop = getint(r, 527);
    autos.autousestart = r[531];
    autos.autouseend = r[532];
    autos.autosubstart = r[533];
    autos.autosubend = r[534];
    autos.autoleft = getint(r, 535);
    autos.autotop = getint(r, 539);
    file.close();
    file.ioresult();
}

void Settings::reset(ui::MessageBox& box)
{
    savedir = withslash(home_);
    loaddir = home_;
    toolbarmode = 3;
    toolbarstyle = 3;
    errorpolicy = 1;
    window_.settop(0);
    window_.setleft(0);
    box.msgbox(settingsresetmessage, 48, "error");
}

bool Settings::writesettings()
{
    BinaryFile file;
    if (!file.openexisting(path)) {
        file.ioresult();
        return false;
    }
    Record r{};
    putshort(r, 0, savedir);
    putshort(r, 256, loaddir);
    putint(r, 512, window_.rect().top);
    putint(r, 516, window_.rect().left);
    file.seek(0);
    file.write(r.data(), 520);
    bool ok = file.ioresult() == 0;
    if (ok) {
        if (toolbarmode > 3)
            toolbarmode = 3;
        if (toolbarstyle > 3)
            toolbarstyle = 3;
        if (errorpolicy > 2)
            errorpolicy = 1;
        r[520] = toolbarmode;
        r[521] = toolbarstyle;
        r[522] = errorpolicy;
        putint(r, 523, infoleft);
        putint(r, 527, infotop);
        r[531] = autos.autousestart;
        r[532] = autos.autouseend;
        r[533] = autos.autosubstart;
        r[534] = autos.autosubend;
        putint(r, 535, autos.autoleft);
        putint(r, 539, autos.autotop);
        file.write(r.data() + 520, settingssize - 520);
        ok = file.ioresult() == 0;
    }
    file.close();
    if (file.ioresult() != 0)
        ok = false;
    return ok;
}

}  // namespace qc
