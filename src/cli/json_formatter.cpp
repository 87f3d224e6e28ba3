// The JSON output: one object per file per line. Every verb has "file",
// "warnings" and "error" ({"kind", "message", "window"} or null) beside its
// own keys.
#include <functional>
#include <nlohmann/json.hpp>

#include "cli/formatter.h"
#include "cli/shown_text.h"
#include "texts/save_texts.h"
#include "tags/frame_descriptions.h"
#include "texts/byte_text.h"

namespace qccli {

namespace {

using json = nlohmann::ordered_json;

std::string line(const json& j)
{
    // names and window texts are bytes, not always UTF-8
    return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

json errorvalue(const Common& r)
{
    if (!r.error)
        return nullptr;
    return {{"kind", kindname(r.error->kind)},
            {"message", r.error->message},
            {"window", r.error->window.empty() ? json(nullptr) : json(r.error->window)}};
}

void finish(json& j, const Common& r)
{
    j["warnings"] = r.warnings;
    j["error"] = errorvalue(r);
}

json extent(const std::optional<Extent>& e)
{
    return e ? json{{"offset", e->offset}, {"size", e->size}} : json(nullptr);
}

json id3v2value(const qc::Id3v2Frames& tag, const std::function<std::string(const std::string&)>& describe)
{
    json frames = json::array();
    for (const qc::Id3v2Frame& f : tag.frames) {
        json frame{{"id", f.id}, {"description", describe(f.id)},
                   {"text", f.text ? json(*f.text) : json(nullptr)}};
        if (f.contentdescription)
            frame["content_description"] = *f.contentdescription;
        frames.push_back(std::move(frame));
    }
    return {{"version", "2." + std::to_string(tag.version) + "." + std::to_string(tag.revision)},
            {"frames", std::move(frames)}};
}

json id3v1value(const qc::Id3v1Fields& t)
{
    return {{"title", t.title}, {"artist", t.artist}, {"album", t.album}, {"year", t.year},
            {"comment", t.comment}, {"track", t.track ? json(*t.track) : json(nullptr)},
            {"genre", t.genrename.empty() ? json(nullptr) : json(t.genrename)}};  // no genre byte: cut short
}

// The ID3v2 view's text is decoded UTF-8 (utf8), the ID3v1 view's bytes.
json view(const std::optional<TagReport>& v, bool utf8)
{
    if (!v || v->failed)
        return nullptr;
    return utf8 ? json(v->view) : json(qc::bytestext(v->view));
}

class JsonFormatter : public Formatter {
public:
    explicit JsonFormatter(std::function<std::string(const std::string&)> describe)
        : describe_(std::move(describe))
    {
    }

    Printed info(const InfoReport& r) const override
    {
        json j;
        j["file"] = r.file;
        if (!r.facts) {
            for (const char* key : {"size", "frames", "first_frame", "last_frame", "sample_rate", "channel_mode",
                                    "bitrate_frames", "seconds", "info", "id3v2", "riff", "id3v1", "silence"})
                j[key] = nullptr;
            j["unknown"] = json::array();
            finish(j, r);
            return {line(j), errorline(r), r.error.has_value()};
        }
        const InfoFacts& f = *r.facts;
        j["size"] = f.size;
        j["frames"] = f.frames;
        j["first_frame"] = f.firstframe;
        j["last_frame"] = f.lastframe;
        j["sample_rate"] = f.samplerate;
        j["mpeg_version"] = f.version;
        j["samples_per_frame"] = f.samplesperframe;
        j["channel_mode"] = f.channelmode;
        json rates = json::object();
        for (const RateCount& rate : f.rates)
            rates[rate.key] = rate.frames;
        j["bitrate_frames"] = rates;
        j["seconds"] = f.seconds;
        j["info"] = f.infocaption;
        j["id3v2"] = extent(f.id3v2);
        j["riff"] = extent(f.riff);
        j["id3v1"] = f.id3v1 ? json{{"offset", f.id3v1->offset}, {"damaged", f.id3v1->damaged}} : json(nullptr);
        json unknown = json::array();
        for (const UnknownStretch& s : f.unknown)
            unknown.push_back({{"where", s.where}, {"offset", s.extent.offset}, {"size", s.extent.size},
                               {"included", s.included}});
        j["unknown"] = unknown;
        j["silence"] = {{"start", f.silencestart}, {"end", f.silenceend}};
        if (f.gains)
            j["gains"] = *f.gains;
        finish(j, r);
        return {line(j), errorline(r), r.error.has_value()};
    }

    Printed tags(const TagsReport& r) const override
    {
        json j;
        j["file"] = r.file;
        j["id3v2"] = r.id3v2 ? id3v2value(*r.id3v2, describe_) : json(nullptr);
        j["id3v1"] = r.id3v1 ? id3v1value(*r.id3v1) : json(nullptr);
        j["views"] = {{"id3v2", view(r.id3v2view, true)}, {"id3v1", view(r.id3v1view, false)}};
        finish(j, r);
        return {line(j), errorline(r), r.error.has_value()};
    }

    Printed cut(const CutReport& r) const override
    {
        json j;
        j["file"] = r.file;
        j["output"] = r.saved ? json(r.output) : json(nullptr);
        bool known = !r.error.has_value();
        j["frames_kept"] = known ? json(r.frameskept) : json(nullptr);
        j["bytes"] = known ? json(r.bytes) : json(nullptr);
        j["seconds"] = known ? json(r.seconds) : json(nullptr);
        json leftout = json::array();
        for (const LeftOut& l : r.leftout)
            leftout.push_back({{"what", l.what}, {"offset", l.extent.offset}, {"size", l.extent.size}});
        j["left_out"] = known ? leftout : json(nullptr);
        if (r.saved && r.exact) {
            const qc::ExactSummary& w = *r.exact;
            j["exact"] = {{"samples", w.samples},        {"seconds", w.seconds()},
                          {"frames_written", w.frames},  {"reservoir_frames", w.reservoirframes},
                          {"carrier_frame", w.carrier},  {"silent_frames", w.silentframes},
                          {"new_tag", w.newtag},         {"delay", w.delay},
                          {"padding", w.padding}};
        }
        finish(j, r);
        if (r.unchanged)
            j["warnings"].push_back(qc::nochanges);  // the window's box, after the load's warnings
        return {line(j), errorline(r), r.error.has_value()};
    }

    Printed split(const SplitReport& r) const override
    {
        json j;
        j["file"] = r.file;
        j["output_dir"] = r.folder;
        j["dry_run"] = r.dryrun;
        json tracks = json::array();
        for (const SplitTrack& t : r.tracks)
            tracks.push_back({{"output", t.output},
                              {"title", t.title},
                              {"start_samples", t.start},
                              {"end_samples", t.end},
                              {"seconds", t.seconds}});
        j["tracks"] = r.error ? json(nullptr) : tracks;
        j["cue"] = r.cue.empty() ? json(nullptr) : json(r.cue);
        finish(j, r);
        return {line(j), errorline(r), r.error.has_value()};
    }

    Printed usage(const std::string& message) const override
    {
        json j{{"file", nullptr}, {"warnings", json::array()},
               {"error", {{"kind", kindname(ErrorKind::Usage)}, {"message", message}, {"window", nullptr}}}};
        return {line(j), message + "\n", true};
    }

private:
    std::function<std::string(const std::string&)> describe_;
};

}  // namespace

std::unique_ptr<Formatter> jsonformatter()
{
    return std::make_unique<JsonFormatter>([](const std::string& id) {
        qc::FrameId fid{};
        for (std::size_t i = 0; i < fid.size() && i < id.size(); ++i)
            fid[i] = static_cast<std::uint8_t>(id[i]);
        return utf8fromlatin1(qc::framedescription(fid));
    });
}

}  // namespace qccli
