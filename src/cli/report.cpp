#include "cli/report.h"

#include <array>
#include <sstream>

#include "silence/methods.h"

namespace qccli {

namespace {

using json = nlohmann::ordered_json;

int samplerate(std::uint8_t bits)
{
    switch (bits) {
    case 0:
        return 44100;
    case 4:
        return 48000;
    default:
        return 32000;
    }
}

struct Stretch {
    const char* where;
    std::int64_t start, size;
    bool included;
};

std::vector<Stretch> unknownstretches(const qc::LoadedFile& f)
{
    std::vector<Stretch> out;
    if (f.leadingstart != 0)
        out.push_back({"leading", f.leadingstart, f.framepos[0] - f.leadingstart, f.includeleading});
    if (f.betweenstart != 0) {
        std::int64_t end = static_cast<std::int64_t>(f.filesize) + 1;
        if (f.footerfound && f.footerpos > f.betweenstart)
            end = std::min<std::int64_t>(end, f.footerpos);
        if (f.afterstart != 0 && f.afterstart > f.betweenstart)
            end = std::min<std::int64_t>(end, f.afterstart);
        out.push_back({"between", f.betweenstart, end - f.betweenstart, f.includebetween});
    }
    if (f.afterstart != 0)
        out.push_back({"after", f.afterstart, static_cast<std::int64_t>(f.filesize) - f.afterstart + 1,
                       f.includeafter});
    return out;
}

// What each silence detection method finds at each end, as the auto-use on
// load examines the file.
std::array<std::int32_t, 3> silenceside(const qc::LoadedFile& f, int side)
{
    return {qc::autodetected(f, side, 1), qc::autodetected(f, side, 2), qc::autodetected(f, side, 3)};
}

}  // namespace

json inforeport(const Engine& engine, const std::string& given)
{
    const qc::LoadedFile& f = engine.file;
    json j;
    j["file"] = given;
    if (!f.loadok) {
        for (const char* key : {"size", "frames", "first_frame", "last_frame", "sample_rate",
                                "channel_mode", "bitrate_frames", "seconds", "info", "id3v2",
                                "riff", "id3v1", "silence"})
            j[key] = nullptr;
        j["unknown"] = json::array();
        j["warnings"] = engine.box.warnings;
        j["error"] = engine.box.error;
        return j;
    }
    j["size"] = f.filesize;
    j["frames"] = f.framecount;
    j["first_frame"] = f.framepos[0] - 1;
    j["last_frame"] = f.framepos[f.framecount - 1] - 1;
    j["sample_rate"] = samplerate(f.sampleratebits);
    j["channel_mode"] = qc::channelmodetext(f.channelmode);
    json rates = json::object();
    for (int i = 0; i <= 14; ++i)
        if (f.ratecount[i] != 0)
            rates[i == 0 ? std::string("free") : std::to_string(qc::kbpstable[i])] = f.ratecount[i];
    j["bitrate_frames"] = rates;
    j["seconds"] = f.totalframes * f.secondsperframe;
    j["info"] = engine.form.infolabel.caption();
    j["id3v2"] = f.headtagpresent ? json{{"offset", 0}, {"size", f.headtagsize}} : json(nullptr);
    j["riff"] = f.riffpresent ? json{{"offset", f.riffstart - 1}, {"size", f.framepos[0] - f.riffstart}}
                              : json(nullptr);
    j["id3v1"] = f.footerfound ? json{{"offset", f.footerpos - 1}, {"damaged", f.footerspan < 127}}
                               : json(nullptr);
    json unknown = json::array();
    for (const Stretch& s : unknownstretches(f))
        unknown.push_back({{"where", s.where}, {"offset", s.start - 1}, {"size", s.size},
                           {"included", s.included}});
    j["unknown"] = unknown;
    j["silence"] = {{"start", silenceside(f, 0)}, {"end", silenceside(f, 1)}};
    j["warnings"] = engine.box.warnings;
    j["error"] = nullptr;
    return j;
}

std::string infotext(const Engine& engine, const std::string& given)
{
    const qc::LoadedFile& f = engine.file;
    std::ostringstream out;
    out << given << "\n";
    if (!f.loadok) {
        out << "  error: " << plainlines(engine.box.error) << "\n";
        return out.str();
    }
    for (int i = 0; i <= 14; ++i)
        if (f.ratecount[i] != 0)
            out << "  " << engine.form.kbpslabel[static_cast<std::size_t>(i)]->caption() << "\n";
    out << "  " << engine.form.infolabel.caption() << "\n";
    out << "  frames: " << f.framecount << ", first at byte " << f.framepos[0] - 1 << "\n";
    out << "  ID3v2 tag: " << (f.headtagpresent ? std::to_string(f.headtagsize) + " bytes" : "none") << "\n";
    out << "  RIFF header: " << (f.riffpresent ? "yes" : "none") << "\n";
    out << "  ID3v1 tag: "
        << (f.footerfound ? (f.footerspan < 127 ? "damaged" : "yes") : "none") << "\n";
    for (const Stretch& s : unknownstretches(f))
        out << "  unknown data (" << s.where << "): " << s.size << " bytes at " << s.start - 1
            << (s.included ? ", included" : ", left out") << "\n";
    const std::array<std::int32_t, 3> start = silenceside(f, 0), end = silenceside(f, 1);
    out << "  silence frames by method 1/2/3: start " << start[0] << "/" << start[1] << "/" << start[2]
        << ", end " << end[0] << "/" << end[1] << "/" << end[2] << "\n";
    for (const std::string& w : engine.box.warnings)
        out << "  warning: " << plainlines(w) << "\n";
    return out.str();
}

}  // namespace qccli
