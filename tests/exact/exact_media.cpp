#include "exact/exact_media.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qctest {

namespace {

std::string shq(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

Pcm decode(const std::string& command, int channels)
{
    Pcm pcm;
    pcm.channels = channels;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return pcm;
    std::int16_t buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 2, 4096, p)) > 0)
        pcm.data.insert(pcm.data.end(), buf, buf + n);
    pclose(p);
    return pcm;
}

std::uint32_t be32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

std::string encode(const TempDir& dir, const std::string& name, int rate, int channels,
                   const std::string& lameoptions, double seconds)
{
    std::string wav = dir.path(name + ".wav"), mp3 = dir.path(name);
    std::string sox = "sox -R -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " " + shq(wav) +
                      " synth " + std::to_string(seconds) + " pinknoise synth " + std::to_string(seconds) +
                      " sine amod 3 gain -6 2>/dev/null";
    std::string khz = std::to_string(rate / 1000) +
                      (rate % 1000 != 0 ? "." + std::to_string(rate % 1000 + 1000).substr(1) : std::string());
    while (khz.back() == '0' && khz.find('.') != std::string::npos)
        khz.pop_back();
    std::string lame = "lame --quiet --resample " + khz + " " +
                       lameoptions + " " + shq(wav) + " " + shq(mp3) + " 2>/dev/null";
    if (std::system(sox.c_str()) != 0 || std::system(lame.c_str()) != 0)
        return {};
    return mp3;
}

std::vector<std::int16_t> Pcm::slice(std::int64_t from, std::int64_t to) const
{
    from = std::max<std::int64_t>(0, std::min(from, frames()));
    to = std::max(from, std::min(to, frames()));
    return {data.begin() + from * channels, data.begin() + to * channels};
}

Pcm decodeffmpeg(const std::string& file, int channels)
{
    return decode("ffmpeg -v error -i " + shq(file) + " -f s16le - 2>/dev/null", channels);
}

Pcm decodempg123(const std::string& file, int channels)
{
    return decode("mpg123 -q -s " + shq(file) + " 2>/dev/null", channels);
}

namespace {

// 1 for MPEG-1, 2 for MPEG-2, 4 for MPEG-2.5 (the divisor of the MPEG-1
// rates), 0 for anything but a Layer III sync.
int layer3version(const Bytes& f, std::size_t p)
{
    if (p + 1 >= f.size() || f[p] != 0xFF)
        return 0;
    const int b1 = f[p + 1] & 0xFE;
    return b1 == 0xFA ? 1 : b1 == 0xF2 ? 2 : b1 == 0xE2 ? 4 : 0;
}

}  // namespace

std::vector<WalkedFrame> walkframes(const Bytes& f)
{
    static const int kbps1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kbps2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static const int rates[4] = {44100, 48000, 32000, 0};
    std::size_t p = 0;
    if (f.size() >= 10 && std::memcmp(f.data(), "ID3", 3) == 0)
        p = 10 + ((f[6] & 0x7F) << 21 | (f[7] & 0x7F) << 14 | (f[8] & 0x7F) << 7 | (f[9] & 0x7F));
    while (p + 1 < f.size() && layer3version(f, p) == 0)
        ++p;
    std::size_t end = f.size();
    if (end >= 128 && std::memcmp(f.data() + end - 128, "TAG", 3) == 0)
        end -= 128;
    std::vector<WalkedFrame> frames;
    const int version = layer3version(f, p);
    while (p + 4 <= end && version != 0 && layer3version(f, p) == version) {
        const bool lsf = version != 1;
        // MPEG-2 halves the MPEG-1 rates, MPEG-2.5 quarters them
        const int rate = rates[(f[p + 2] >> 2) & 3] / version;
        const int index = f[p + 2] >> 4;
        const int bitrate = lsf ? kbps2[index] : kbps1[index];
        if (rate == 0 || bitrate == 0)
            break;
        const std::size_t len = static_cast<std::size_t>((lsf ? 72000 : 144000) * bitrate / rate + ((f[p + 2] >> 1) & 1));
        if (p + len > end)
            break;
        WalkedFrame w;
        w.offset = p;
        w.length = len;
        w.samples = lsf ? 576 : 1152;
        w.lsf = lsf;
        frames.push_back(w);
        p += len;
    }
    return frames;
}

std::optional<ReadTag> readtag(const Bytes& f, const WalkedFrame& first)
{
    const std::uint8_t* fr = f.data() + first.offset;
    bool mono = (fr[3] & 0xC0) == 0xC0;
    // after the side information: 17 or 32 bytes in MPEG-1, 9 or 17 in MPEG-2 and 2.5
    std::size_t id = first.lsf ? (mono ? 13 : 21) : (mono ? 21 : 36);
    if (first.length < id + 156)
        return std::nullopt;
    ReadTag t;
    t.idoffset = id;
    t.id.assign(reinterpret_cast<const char*>(fr + id), 4);
    if (t.id != "Xing" && t.id != "Info")
        return std::nullopt;
    t.flags = be32(fr + id + 4);
    t.frames = be32(fr + id + 8);
    t.bytes = be32(fr + id + 12);
    t.toc.assign(fr + id + 16, fr + id + 116);
    const std::uint8_t* lame = fr + id + 120;
    t.encoder.assign(reinterpret_cast<const char*>(lame), 9);
    t.delay = (lame[21] << 4) | (lame[22] >> 4);
    t.padding = ((lame[22] & 0x0F) << 8) | lame[23];
    t.musiclength = be32(lame + 28);
    t.musiccrc = static_cast<std::uint16_t>((lame[32] << 8) | lame[33]);
    t.tagcrc = static_cast<std::uint16_t>((lame[34] << 8) | lame[35]);
    return t;
}

std::uint16_t bitcrc(const std::uint8_t* data, std::size_t n)
{
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    return crc;
}

}  // namespace qctest
