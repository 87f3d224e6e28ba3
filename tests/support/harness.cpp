#include "support/harness.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "stream/frame_header.h"

namespace qctest {

Loader::Loader()
    : cuts(file, form), scanner(file, form, cuts, box, pump, measure)
{
    cuts.wire();
    file.cutframes[0] = file.cutframes[1] = 0;
    file.loadok = false;
    file.busy = false;
    file.secondsperframe = qc::spf44;
}

void Loader::setpolicy(qc::ErrorPolicy p)
{
    form.failmenu.setchecked(p == qc::ErrorPolicy::Fail);
    form.promptmenu.setchecked(p == qc::ErrorPolicy::Prompt);
    form.trymenu.setchecked(p == qc::ErrorPolicy::Attempt);
}

bool Loader::load(const std::string& path)
{
    file.sourcename = path;
    scanner.scanfile(true);
    return file.loadok;
}

bool Loader::reload()
{
    scanner.scanfile(false);
    return file.loadok;
}

std::string samplepath(const std::string& name)
{
    return std::string(QC_SAMPLES_DIR) + "/" + name;
}

std::string fixturepath(const std::string& name)
{
    return std::string(QC_FIXTURES_DIR) + "/" + name;
}

Bytes readbytes(const std::string& path)
{
    // in one read: byte by byte through a stream iterator, a file of some
    // megabytes took seconds under the sanitizers
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamsize n = in ? static_cast<std::streamsize>(in.tellg()) : 0;
    Bytes b(static_cast<std::size_t>(std::max<std::streamsize>(n, 0)));
    in.seekg(0);
    if (n > 0 && !in.read(reinterpret_cast<char*>(b.data()), n))
        b.resize(static_cast<std::size_t>(in.gcount()));
    return b;
}

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "quillcut-test-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    dir_ = made ? made : tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const
{
    std::string p = path(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
}

namespace {
// Writes an 8-bit value at a bit position of the side information (bit 0 =
// the most significant bit of its first byte).
void setbits(std::uint8_t* si, int bitpos, std::uint8_t value)
{
    for (int i = 0; i < 8; ++i) {
        int bit = (value >> (7 - i)) & 1;
        int at = bitpos + i;
        std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (at % 8));
        if (bit)
            si[at / 8] |= mask;
        else
            si[at / 8] &= static_cast<std::uint8_t>(~mask);
    }
}
}  // namespace

Bytes frame(const FrameSpec& spec)
{
    qc::SampleRate rate{};
    qc::samplerate(static_cast<std::uint8_t>(spec.rate), rate);
    std::int32_t len = qc::kbpstable[spec.bitrateindex] >= 2
                           ? qc::framelength(spec.bitrateindex, spec.padding ? 2 : 0, rate.framesizefactor)
                           : 200;
    Bytes b(static_cast<std::size_t>(len), 0);
    b[0] = 0xFF;
    b[1] = spec.crc ? 0xFA : 0xFB;
    b[2] = static_cast<std::uint8_t>((spec.bitrateindex << 4) | spec.rate | (spec.padding ? 2 : 0));
    b[3] = spec.mode;
    std::uint8_t* si = b.data() + (spec.crc ? 6 : 4);
    if (spec.mode == 0xC0) {
        setbits(si, 39, spec.gain);
        setbits(si, 98, spec.gain);
    } else {
        setbits(si, 41, spec.gain);
        setbits(si, 100, spec.gain);
        setbits(si, 159, spec.gain);
        setbits(si, 218, spec.gain);
    }
    return b;
}

Bytes frames(int count, const FrameSpec& spec, const std::vector<std::uint8_t>& gains)
{
    Bytes out;
    for (int i = 0; i < count; ++i) {
        FrameSpec s = spec;
        if (!gains.empty())
            s.gain = gains[static_cast<std::size_t>(i) % gains.size()];
        Bytes f = frame(s);
        out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

Bytes id3v2tag(std::int32_t bodysize)
{
    // Made at its full size at once: growing a ten-byte vector here makes
    // GCC 12 at -O3 warn falsely about reading past the old storage.
    Bytes b(10 + static_cast<std::size_t>(bodysize), 0);
    const std::uint8_t head[10] = {'I', 'D', '3', 3, 0, 0,
                                   static_cast<std::uint8_t>((bodysize >> 21) & 0x7F),
                                   static_cast<std::uint8_t>((bodysize >> 14) & 0x7F),
                                   static_cast<std::uint8_t>((bodysize >> 7) & 0x7F),
                                   static_cast<std::uint8_t>(bodysize & 0x7F)};
    for (std::size_t i = 0; i < 10; ++i)
        b[i] = head[i];
    return b;
}

Bytes id3v1tag(const std::string& title)
{
    Bytes b(128, 0);
    b[0] = 'T';
    b[1] = 'A';
    b[2] = 'G';
    for (std::size_t i = 0; i < title.size() && i < 30; ++i)
        b[3 + i] = static_cast<std::uint8_t>(title[i]);
    b[127] = 255;
    return b;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes filler(std::size_t n, std::uint8_t value)
{
    return Bytes(n, value);
}

}  // namespace qctest
