// Writes the default settings file (mp3qc.ini) beside a built executable (and
// into the build's share/quillcut, whence it is installed and copied to each
// user's configuration folder at the first start), so
// that a fresh build starts without the "Parameters reset." message. A file
// that already has the right length is the user's and is left alone (only
// its time is refreshed, so the build sees it as up to date).
//
// usage: mkdefaultini PATH...
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/settings.h"
#include "stream/binary_file.h"
#include "ui/control.h"

namespace {

bool writedefault(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) == qc::settingssize) {
        fs::last_write_time(path, fs::file_time_type::clock::now(), ec);
        return !ec;
    }
    // The program never creates or lengthens the file, so make it here at its
    // full length first, then fill it the way the program writes it.
    qc::BinaryFile file;
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(qc::settingssize), 0);
    file.create(path);
    file.write(zeros.data(), zeros.size());
    file.close();
    if (file.ioresult() != 0)
        return false;

    ui::Form window("mainqcform");
    window.setrect({100, 60, 300, 547});
    std::string savedir;  // empty: the start directory (home) is used
    qc::Settings s(window, savedir);
    s.path = path;
    s.loaddir.clear();
    s.toolbarmode = 3;
    s.toolbarstyle = 3;
    s.errorpolicy = 1;
    s.infoleft = 160;
    s.infotop = 160;
    s.autos.autoleft = 120;
    s.autos.autotop = 120;
    return s.writesettings();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdefaultini PATH...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i)
        if (!writedefault(argv[i])) {
            std::fprintf(stderr, "mkdefaultini: cannot write %s\n", argv[i]);
            status = 1;
        }
    return status;
}
