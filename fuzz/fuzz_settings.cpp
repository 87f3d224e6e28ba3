// The settings reader on arbitrary files: a record of exactly 543 bytes
// (chosen by the first input byte, the rest padded or cut to that length)
// or a file of any other length. Whatever it holds, the reader either takes
// it as it is or resets with one message; the writer then rewrites it in
// place without changing its length, and a read of what was written gives
// the same settings back.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "check.h"
#include "shell/settings.h"

namespace {

class CountingBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int, const std::string&) override
    {
        ++shown;
        QC_FUZZ_CHECK(text == qc::settingsresetmessage);
        return ui::idok;
    }
    int shown = 0;
};

// A directory of the target's own for the one settings file, removed when
// the fuzzer ends.
struct SettingsDir {
    SettingsDir()
    {
        // in memory where the system offers it: the target writes a file per input
        dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        dir += "/qcfuzz-settings-XXXXXX";
        QC_FUZZ_CHECK(::mkdtemp(dir.data()) != nullptr);
        file = dir + "/" + qc::settingsname;
    }
    ~SettingsDir()
    {
        ::unlink(file.c_str());
        ::rmdir(dir.c_str());
    }
    std::string dir, file;
};

void writefile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    QC_FUZZ_CHECK(out.good());
}

std::vector<std::uint8_t> readfile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Values {
    std::string savedir, loaddir;
    int top, left;
    std::uint8_t mode, style, policy;
    std::int32_t infoleft, infotop;
    qc::AutoSettings autos;
};

Values values(const qc::Settings& s, const ui::Form& w)
{
    return {s.savedir, s.loaddir, w.rect().top, w.rect().left, s.toolbarmode, s.toolbarstyle,
            s.errorpolicy, s.infoleft, s.infotop, s.autos};
}

bool same(const Values& a, const Values& b)
{
    return a.savedir == b.savedir && a.loaddir == b.loaddir && a.top == b.top && a.left == b.left &&
           a.mode == b.mode && a.style == b.style && a.policy == b.policy && a.infoleft == b.infoleft &&
           a.infotop == b.infotop && a.autos.autousestart == b.autos.autousestart &&
           a.autos.autouseend == b.autos.autouseend && a.autos.autosubstart == b.autos.autosubstart &&
           a.autos.autosubend == b.autos.autosubend && a.autos.autoleft == b.autos.autoleft &&
           a.autos.autotop == b.autos.autotop;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const SettingsDir place;
    const std::string& path = place.file;
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size > 0 && (data[0] & 1) != 0) {
        bytes.erase(bytes.begin());
        bytes.resize(qc::settingssize, 0);
    }
    writefile(path, bytes);
    const bool record = bytes.size() == qc::settingssize;

    ui::Form window("mainqcform");
    std::string savedir;
    qc::Settings settings(window, savedir);
    settings.path = path;
    settings.setstartdirectory("/home/user");
    CountingBox box;
    settings.readsettings(box);
    QC_FUZZ_CHECK(box.shown == (record ? 0 : 1));
    if (!record) {
        QC_FUZZ_CHECK(settings.savedir == "/home/user/" && settings.loaddir == "/home/user");
        QC_FUZZ_CHECK(settings.toolbarmode == 3 && settings.toolbarstyle == 3 && settings.errorpolicy == 1);
    } else {
        QC_FUZZ_CHECK(settings.toolbarmode == bytes[520] && settings.errorpolicy == bytes[522]);
        QC_FUZZ_CHECK(settings.autos.autosubend == bytes[534]);
    }

    // rewritten in place from its start: a longer file keeps its length
    QC_FUZZ_CHECK(settings.writesettings());
    const std::vector<std::uint8_t> written = readfile(path);
    QC_FUZZ_CHECK(written.size() == std::max<std::size_t>(bytes.size(), qc::settingssize));
    if (!record)
        return 0;

    // what was written reads back as the settings held (clamped on writing)
    const Values held = values(settings, window);
    ui::Form again("mainqcform");
    std::string savedir2;
    qc::Settings reread(again, savedir2);
    reread.path = path;
    reread.setstartdirectory("/home/user");
    CountingBox box2;
    reread.readsettings(box2);
    QC_FUZZ_CHECK(box2.shown == 0);
    QC_FUZZ_CHECK(same(values(reread, again), held));
    QC_FUZZ_CHECK(reread.toolbarmode <= 3 && reread.toolbarstyle <= 3 && reread.errorpolicy <= 2);
    return 0;
}
