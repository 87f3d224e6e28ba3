#include "cli/report.h"

#include <array>
#include <sstream>

#include "shell/load_texts.h"
#include "silence/methods.h"

namespace qccli {

namespace {

using json = nlohmann::ordered_json;

const char* wherename(qc::UnknownStretch::Where where)
{
    switch (where) {
    case qc::UnknownStretch::Leading:
        return "leading";
    case qc::UnknownStretch::Between:
        return "between";
    case qc::UnknownStretch::After:
        return "after";
    }
    return "";
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
    const qc::LoadReport& r = engine.report();
    json j;
    j["file"] = given;
    if (!r.ok) {
        for (const char* key : {"size", "frames", "first_frame", "last_frame", "sample_rate",
                                "channel_mode", "bitrate_frames", "seconds", "info", "id3v2",
                                "riff", "id3v1", "silence"})
            j[key] = nullptr;
        j["unknown"] = json::array();
        j["warnings"] = engine.box.warnings;
        j["error"] = engine.box.error;
        return j;
    }
    j["size"] = r.filesize;
    j["frames"] = r.frames;
    j["first_frame"] = r.firstframe;
    j["last_frame"] = r.lastframe;
    j["sample_rate"] = r.samplerate;
    j["channel_mode"] = qc::channelmodetext(r.channelmode);
    json rates = json::object();
    for (int i = 0; i <= 14; ++i)
        if (const std::int32_t n = r.bitrateframes[static_cast<std::size_t>(i)]; n != 0)
            rates[i == 0 ? std::string("free") : std::to_string(qc::kbpstable[i])] = n;
    j["bitrate_frames"] = rates;
    j["seconds"] = r.seconds;
    j["info"] = qc::infocaption(r);
    j["id3v2"] = r.id3v2.present ? json{{"offset", r.id3v2.offset}, {"size", r.id3v2.size}} : json(nullptr);
    j["riff"] = r.riff.present ? json{{"offset", r.riff.offset}, {"size", r.riff.size}} : json(nullptr);
    j["id3v1"] = r.id3v1.present ? json{{"offset", r.id3v1.offset}, {"damaged", r.id3v1damaged}}
                                 : json(nullptr);
    json unknown = json::array();
    for (const qc::UnknownStretch& s : r.unknown)
        unknown.push_back({{"where", wherename(s.where)}, {"offset", s.offset()}, {"size", s.size()},
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
    const qc::LoadReport& r = engine.report();
    std::ostringstream out;
    out << given << "\n";
    if (!r.ok) {
        out << "  error: " << plainlines(engine.box.error) << "\n";
        return out.str();
    }
    for (int i = 0; i <= 14; ++i)
        if (const std::int32_t n = r.bitrateframes[static_cast<std::size_t>(i)]; n != 0)
            out << "  " << qc::bitratecaption(i, n) << "\n";
    out << "  " << qc::infocaption(r) << "\n";
    out << "  frames: " << r.frames << ", first at byte " << r.firstframe << "\n";
    out << "  ID3v2 tag: " << (r.id3v2.present ? std::to_string(r.id3v2.size) + " bytes" : "none") << "\n";
    out << "  RIFF header: " << (r.riff.present ? "yes" : "none") << "\n";
    out << "  ID3v1 tag: " << (r.id3v1.present ? (r.id3v1damaged ? "damaged" : "yes") : "none") << "\n";
    for (const qc::UnknownStretch& s : r.unknown)
        out << "  unknown data (" << wherename(s.where) << "): " << s.size() << " bytes at " << s.offset()
            << (s.included ? ", included" : ", left out") << "\n";
    const std::array<std::int32_t, 3> start = silenceside(f, 0), end = silenceside(f, 1);
    out << "  silence frames by method 1/2/3: start " << start[0] << "/" << start[1] << "/" << start[2]
        << ", end " << end[0] << "/" << end[1] << "/" << end[2] << "\n";
    for (const std::string& w : engine.box.warnings)
        out << "  warning: " << plainlines(w) << "\n";
    return out.str();
}

}  // namespace qccli
