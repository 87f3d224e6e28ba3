#include "splitting/track_writer.h"

#include <algorithm>
#include <cstdio>

#include "cutting/save.h"
#include "stream/binary_file.h"
#include "stream/paths.h"
#include "tags/track_tag.h"

namespace qc {

namespace {

// The longest file name most file systems hold, in bytes.
constexpr std::size_t longestname = 255;

bool refused(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

// s cut to at most n bytes, never inside a UTF-8 character.
std::string utf8prefix(const std::string& s, std::size_t n)
{
    if (s.size() <= n)
        return s;
    std::size_t end = n;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    return s.substr(0, end);
}

// The source's tags as they lie in the file.
struct SourceTags {
    std::vector<std::uint8_t> id3v2, id3v1;
};

bool readtags(const LoadedFile& f, SourceTags& tags)
{
    if (!f.headtagpresent && !f.footerfound)
        return true;
    BinaryFile file;
    if (!file.openforreading(f.sourcename)) {
        file.ioresult();
        return false;
    }
    FileBytes bytes(file);
    bool ok = true;
    if (f.headtagpresent && f.headtagsize > 0) {
        tags.id3v2.resize(static_cast<std::size_t>(f.headtagsize));
        ok = bytes.read(0, tags.id3v2.data(), tags.id3v2.size());
    }
    if (ok && f.footerfound && f.footerpos > 0 && f.footerpos + 127 <= f.filesize) {
        tags.id3v1.resize(128);
        ok = bytes.read(f.footerpos - 1, tags.id3v1.data(), tags.id3v1.size());
    }
    file.close();
    return file.ioresult() == 0 && ok;
}

}  // namespace

std::string trackfilename(int number, int count, const std::string& title)
{
    const int width = std::max<int>(2, static_cast<int>(std::to_string(std::max(count, number)).size()));
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*d", width, number);
    std::string clean;
    for (char c : title)
        clean += refused(static_cast<unsigned char>(c)) ? '_' : c;
    // blanks and dots at the ends are lost or refused by some file systems
    while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.'))
        clean.pop_back();
    while (!clean.empty() && clean.front() == ' ')
        clean.erase(0, 1);
    if (clean.empty())
        return std::string(digits) + ".mp3";
    const std::string head = std::string(digits) + " - ";
    const std::string tail = ".mp3";
    clean = utf8prefix(clean, longestname - head.size() - tail.size());
    while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.'))
        clean.pop_back();
    return head + clean + tail;
}

std::vector<PlannedTrack> plantracks(const LoadedFile& f, const AudioTimeline& t, const std::vector<Track>& tracks,
                                     const SplitOptions& options)
{
    std::vector<PlannedTrack> planned;
    const std::int64_t firstaudio = t.tagframe ? 1 : 0;
    for (const Track& track : tracks) {
        PlannedTrack p;
        p.track = track;
        if (!options.exact) {
            // whole frames: each point at its nearest frame boundary
            p.firstframe = std::max(firstaudio, nearestboundary(t, track.start));
            p.endframe = std::min(f.framecount, nearestboundary(t, track.end));
            if (track.end >= t.samples)
                p.endframe = f.framecount;
            if (!planned.empty())
                p.firstframe = planned.back().endframe;
            if (p.endframe <= p.firstframe)
                continue;  // the track is shorter than a frame: its neighbours take it
            p.track.start = boundarysample(t, p.firstframe);
            p.track.end = p.endframe >= t.frames ? t.samples : boundarysample(t, p.endframe);
        }
        planned.push_back(std::move(p));
    }
    const int count = static_cast<int>(planned.size());
    for (int i = 0; i < count; ++i) {
        PlannedTrack& p = planned[static_cast<std::size_t>(i)];
        p.title = p.track.title.empty() ? "Track " + std::to_string(i + 1) : p.track.title;
        p.output = directorywithslash(options.folder.empty() ? "./" : options.folder + "/") +
                   trackfilename(i + 1, count, p.track.title);
    }
    return planned;
}

SplitOutcome writetracks(const LoadedFile& f, const AudioTimeline& t, const std::vector<PlannedTrack>& tracks,
                         const SplitOptions& options, const SplitHooks& hooks)
{
    SplitOutcome outcome;
    if (!options.force)
        for (const PlannedTrack& p : tracks)
            if (fileexists(p.output)) {
                outcome.error = makeerror(Cause::TargetExists, Blame::Target, EEXIST, p.output, Step::Create);
                return outcome;
            }
    SourceTags tags;
    if (!readtags(f, tags)) {
        outcome.error = makeerror(Cause::Disk, Blame::Source, 0, f.sourcename, Step::Read);
        return outcome;
    }
    const std::size_t count = tracks.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (hooks.progress && !hooks.progress(i, count)) {
            outcome.cancelled = true;
            return outcome;
        }
        const PlannedTrack& p = tracks[i];
        SaveRequest request;
        request.exact = options.exact;
        request.target = p.output;
        request.choices.includebetween = f.includebetween;
        if (options.exact) {
            request.samples.start = p.track.start;
            request.samples.end = t.samples - p.track.end;
            request.choices.cuts[0] = wholeframes(t, 0, *request.samples.start);
            request.choices.cuts[1] = wholeframes(t, 1, *request.samples.end);
        } else {
            request.choices.cuts[0] = p.firstframe;
            request.choices.cuts[1] = f.framecount - p.endframe;
        }
        TrackTagFields fields;
        fields.title = p.title;
        fields.performer = p.track.performer.empty() ? options.performer : p.track.performer;
        fields.album = options.album;
        fields.number = static_cast<int>(i + 1);
        fields.count = static_cast<int>(count);
        fields.milliseconds = t.samplerate > 0 ? (p.track.samples() * 1000 + t.samplerate / 2) / t.samplerate : 0;
        request.headtag = trackid3v2(tags.id3v2, fields);
        if (!tags.id3v1.empty())
            request.footertag = trackid3v1(tags.id3v1, fields);
        SaveSeams seams;
        seams.staged = hooks.staged;
        SaveReport saved = save(f, request, seams);
        if (!saved.ok) {
            outcome.error = saved.error;
            return outcome;
        }
        outcome.tracks.push_back({p, std::move(saved)});
    }
    if (hooks.progress)
        hooks.progress(count, count);
    return outcome;
}

}  // namespace qc
