#include "splitting/split_points.h"

#include <algorithm>
#include <cmath>

#include "silence/quiet_parts.h"

namespace qc {

std::vector<Track> tracksat(std::int64_t from, std::int64_t to, std::vector<std::int64_t> points)
{
    std::vector<Track> tracks;
    if (to <= from)
        return tracks;
    std::sort(points.begin(), points.end());
    std::int64_t start = from;
    for (std::int64_t p : points) {
        if (p <= start || p >= to)
            continue;
        tracks.push_back({start, p, {}, {}});
        start = p;
    }
    tracks.push_back({start, to, {}, {}});
    return tracks;
}

std::vector<std::int64_t> everypoints(std::int64_t from, std::int64_t to, std::int64_t step)
{
    std::vector<std::int64_t> points;
    if (step <= 0)
        return points;
    for (std::int64_t p = from + step; p < to; p += step)
        points.push_back(p);
    return points;
}

std::int64_t boundarysample(const AudioTimeline& t, std::int64_t b)
{
    return framecutsamples(t, 0, std::clamp<std::int64_t>(b, 0, t.frames));
}

std::int64_t nearestboundary(const AudioTimeline& t, std::int64_t sample)
{
    // the first boundary at or after the sample, by bisection (the places grow with b)
    std::int64_t lo = 0, hi = t.frames;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (boundarysample(t, mid) < sample)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo > 0 && sample - boundarysample(t, lo - 1) <= boundarysample(t, lo) - sample)
        return lo - 1;
    return lo;
}

std::vector<Gap> findgaps(const LoadedFile& f, const AudioTimeline& t, std::int64_t from, std::int64_t to,
                          const GapOptions& options)
{
    std::vector<Gap> gaps;
    const std::int64_t n = std::min<std::int64_t>(f.framecount, static_cast<std::int64_t>(f.framegain.size()));
    if (n <= 0 || to <= from || t.samplerate <= 0)
        return gaps;
    GapPartOptions q;
    const double frames = options.mingap * t.samplerate / std::max(1, t.samplesperframe);
    q.minframes = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(frames - 1e-9)));
    // the median's window and the music around a frame: about half a second and five seconds
    const double persecond = static_cast<double>(t.samplerate) / std::max(1, t.samplesperframe);
    q.window = std::max(3, static_cast<int>(std::lround(persecond / 2)) | 1);
    q.context = std::max(10, static_cast<int>(std::lround(persecond * 5)));
    // the frames of the range: a quiet part that reaches its first or last
    // frame is the recording's lead-in or tail, not a gap between tracks
    const std::int64_t firstframe = std::min(n - 1, wholeframes(t, 0, from));
    const std::int64_t lastframe = std::max(firstframe, n - 1 - wholeframes(t, 1, t.samples - to));
    const std::span<const std::uint8_t> gains(f.framegain.data(), static_cast<std::size_t>(n));
    for (const QuietPart& part : gapparts(gains, q)) {
        if (part.first <= firstframe || part.last >= lastframe)
            continue;
        const std::int64_t point = boundarysample(t, part.quietest);
        if (point <= from || point >= to)
            continue;
        gaps.push_back({part.first, part.last, point, part.score});
    }
    if (options.tracks > 0 && gaps.size() + 1 > static_cast<std::size_t>(options.tracks)) {
        // the surest gaps, the earlier of two as sure
        std::stable_sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) { return a.score > b.score; });
        gaps.resize(static_cast<std::size_t>(options.tracks - 1));
        std::sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) { return a.point < b.point; });
    }
    return gaps;
}

std::vector<std::int64_t> gappoints(std::span<const Gap> gaps)
{
    std::vector<std::int64_t> points;
    for (const Gap& g : gaps)
        points.push_back(g.point);
    return points;
}

}  // namespace qc
