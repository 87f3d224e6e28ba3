#include "shell/track_points.h"

#include <algorithm>

#include "splitting/split_times.h"

namespace qc {

TrackPoints::TrackPoints()
{
    clear();
}

void TrackPoints::clear()
{
    marks_.assign(1, Mark{before, {}, {}});
    album.clear();
    performer.clear();
    selected_ = -1;
    keepselection();
}

void TrackPoints::setrange(std::int64_t from, std::int64_t to)
{
    from_ = from;
    to_ = to;
    keepselection();
}

std::size_t TrackPoints::firstmark() const
{
    std::size_t m = 0;
    while (m + 1 < marks_.size() && marks_[m + 1].sample <= from_)
        ++m;
    return m;
}

int TrackPoints::count() const
{
    if (to_ <= from_)
        return 0;
    int n = 1;
    for (std::size_t m = firstmark() + 1; m < marks_.size() && marks_[m].sample < to_; ++m)
        ++n;
    return n;
}

std::int64_t TrackPoints::startof(int track) const
{
    return track == 0 ? from_ : marks_[markof(track)].sample;
}

std::int64_t TrackPoints::endof(int track) const
{
    return track + 1 < count() ? marks_[markof(track + 1)].sample : to_;
}

std::vector<Track> TrackPoints::tracks() const
{
    std::vector<Track> out;
    const int n = count();
    for (int i = 0; i < n; ++i) {
        const Mark& m = marks_[markof(i)];
        out.push_back({startof(i), endof(i), m.title, m.performer});
    }
    return out;
}

std::vector<std::int64_t> TrackPoints::points() const
{
    std::vector<std::int64_t> out;
    const int n = count();
    for (int i = 1; i < n; ++i)
        out.push_back(startof(i));
    return out;
}

void TrackPoints::keepselection()
{
    const int n = count();
    if (n == 0)
        selected_ = -1;
    else
        selected_ = std::clamp(selected_, 0, n - 1);
}

void TrackPoints::select(int track)
{
    selected_ = track;
    keepselection();
}

int TrackPoints::trackat(std::int64_t sample) const
{
    const int n = count();
    int track = 0;
    for (int i = 1; i < n && startof(i) <= sample; ++i)
        track = i;
    return n == 0 ? -1 : track;
}

bool TrackPoints::add(std::int64_t sample, std::int64_t spacing)
{
    if (count() == 0)
        return false;
    const int track = trackat(sample);
    if (sample - startof(track) < spacing || endof(track) - sample < spacing)
        return false;
    marks_.insert(marks_.begin() + static_cast<std::ptrdiff_t>(markof(track) + 1), Mark{sample, {}, {}});
    selected_ = track + 1;
    keepselection();
    return true;
}

bool TrackPoints::remove(int track)
{
    if (track < 1 || track >= count())
        return false;
    const std::size_t m = markof(track);
    Mark& joined = marks_[m - 1];
    if (joined.title.empty()) {
        joined.title = marks_[m].title;
        if (joined.performer.empty())
            joined.performer = marks_[m].performer;
    }
    marks_.erase(marks_.begin() + static_cast<std::ptrdiff_t>(m));
    selected_ = track - 1;
    keepselection();
    return true;
}

std::int64_t TrackPoints::move(int track, std::int64_t sample, std::int64_t spacing)
{
    if (track < 1 || track >= count())
        return sample;
    const std::int64_t lo = startof(track - 1) + spacing;
    const std::int64_t hi = endof(track) - spacing;
    std::int64_t& at = marks_[markof(track)].sample;
    if (lo <= hi)
        at = std::clamp(sample, lo, hi);
    return at;
}

void TrackPoints::settitle(int track, const std::string& title)
{
    if (track < 0 || track >= count())
        return;
    marks_[markof(track)].title = title;
}

void TrackPoints::setpoints(std::vector<std::int64_t> points)
{
    const std::vector<Track> old = tracks();
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::vector<Mark> marks{{before, old.empty() ? std::string() : old[0].title,
                             old.empty() ? std::string() : old[0].performer}};
    for (std::int64_t p : points) {
        if (p <= from_ || p >= to_)
            continue;
        const std::size_t track = marks.size();
        marks.push_back({p, track < old.size() ? old[track].title : std::string(),
                         track < old.size() ? old[track].performer : std::string()});
    }
    marks_ = std::move(marks);
    keepselection();
}

void TrackPoints::setcue(const CueSheet& sheet, std::int32_t samplerate)
{
    marks_.assign(1, Mark{before, {}, {}});
    album = sheet.title;
    performer = sheet.performer;
    for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack& t = sheet.tracks[i];
        if (i == 0) {
            marks_[0].title = t.title;
            marks_[0].performer = t.performer;
            continue;
        }
        const std::int64_t at = cueframestosamples(t.index, samplerate);
        // (a sheet's times never run backwards; two tracks at one time make one)
        if (at <= marks_.back().sample)
            continue;
        marks_.push_back({at, t.title, t.performer});
    }
    selected_ = 0;
    keepselection();
}

CueSheet TrackPoints::cuesheet(const std::string& file, std::int32_t samplerate) const
{
    CueSheet sheet;
    sheet.file = file;
    sheet.title = album;
    sheet.performer = performer;
    for (const Track& t : tracks())
        sheet.tracks.push_back({t.title, t.performer, samplestocueframes(t.start, samplerate), 0});
    return sheet;
}

}  // namespace qc
