#include "silence/quiet_parts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "silence/methods.h"

namespace qc {

namespace {

// The levels' spread under which a recording shows no floor of its own
// (about 6 dB of quantizer step).
constexpr double minspread = 4;
// Where between the floor and the typical level quiet ends.
constexpr double quietshare = 0.4;
// How many times its frames' own roughness a level must lie below the
// recording's typical level to be quiet.
constexpr double roughmargin = 4;
// A frame of digital silence counts this much below the floor in a score.
constexpr double silentdepth = 1.5;

// The median of the values.
double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

// Digital silence: blank frames, and runs of one value of at least flatrun
// that stand apart from the frames around them (a steady sound can hold one
// value for a while too, at the level of its neighbours).
std::vector<bool> silentframes(std::span<const std::uint8_t> g, int flatrun, int window)
{
    const std::size_t n = g.size();
    std::vector<bool> silent(n, false);
    for (std::size_t k = 0; k < n; ++k)
        silent[k] = blank(g[k]);
    std::size_t k = 0;
    while (k < n) {
        std::size_t e = k + 1;
        while (e < n && g[e] == g[k])
            ++e;
        if (static_cast<int>(e - k) >= flatrun) {
            bool apart = true;
            for (int side = 0; side < 2; ++side) {
                std::vector<double> around;
                for (std::size_t i = 0; i < static_cast<std::size_t>(window); ++i) {
                    const bool before = side == 0;
                    if (before ? i >= k : e + i >= n)
                        break;
                    const std::uint8_t v = g[before ? k - 1 - i : e + i];
                    if (!blank(v))
                        around.push_back(v);
                }
                if (!around.empty() && std::abs(median(around) - g[k]) < minspread)
                    apart = false;
            }
            if (apart)
                for (std::size_t i = k; i < e; ++i)
                    silent[i] = true;
        }
        k = e;
    }
    return silent;
}

// Each frame's level: the median of the frames around it that are not
// digital silence; negative where there are none. The gains are bytes, so
// the window slides over a histogram of 256 bins and the median is found by
// moving a bin pointer a few steps, not by sorting the window at every frame.
std::vector<double> framelevels(std::span<const std::uint8_t> g, const std::vector<bool>& silent, int window)
{
    const std::int64_t n = static_cast<std::int64_t>(g.size());
    const std::int64_t half = std::max(0, window / 2);
    std::vector<double> level(g.size(), -1);
    std::array<std::int64_t, 256> bins{};
    std::int64_t count = 0;
    auto change = [&](std::int64_t i, int by) {
        if (i < 0 || i >= n || silent[static_cast<std::size_t>(i)])
            return;
        bins[g[static_cast<std::size_t>(i)]] += by;
        count += by;
    };
    for (std::int64_t i = 0; i < std::min(n, half); ++i)
        change(i, 1);
    int median = 0;            // the bin of the median
    std::int64_t below = 0;    // entries in the bins under it
    for (std::int64_t k = 0; k < n; ++k) {
        // the window is k - half .. k + half
        const std::int64_t in = k + half, out = k - half - 1;
        for (std::int64_t i : {in, out}) {
            if (i < 0 || i >= n || silent[static_cast<std::size_t>(i)])
                continue;
            const int by = i == in ? 1 : -1;
            change(i, by);
            if (g[static_cast<std::size_t>(i)] < median)
                below += by;
        }
        if (count == 0)
            continue;
        // the entry of rank count / 2 (0-based) in sorted order
        const std::int64_t rank = count / 2;
        while (below > rank) {
            --median;
            below -= bins[static_cast<std::size_t>(median)];
        }
        while (below + bins[static_cast<std::size_t>(median)] <= rank) {
            below += bins[static_cast<std::size_t>(median)];
            ++median;
        }
        level[static_cast<std::size_t>(k)] = median;
    }
    return level;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    auto at = v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size() - 1, static_cast<std::size_t>(p * v.size())));
    std::nth_element(v.begin(), at, v.end());
    return *at;
}

struct Reading {
    std::vector<bool> silent;
    std::vector<double> level;
    QuietLevels levels;
    std::vector<bool> quiet;
};

Reading read(std::span<const std::uint8_t> g, const QuietOptions& o)
{
    Reading r;
    r.silent = silentframes(g, o.flatrun, o.window);
    r.level = framelevels(g, r.silent, o.window);
    std::vector<double> levels;
    for (std::size_t k = 0; k < g.size(); ++k)
        if (!r.silent[k] && r.level[k] >= 0)
            levels.push_back(r.level[k]);
    QuietLevels& q = r.levels;
    q.floor = percentile(levels, 0.05);
    q.typical = percentile(levels, 0.6);
    q.levels = q.typical - q.floor >= minspread;
    // near the floor; or, in a recording whose frames stay close to their
    // own level (steady music), clearly below its typical level
    std::vector<double> rough;
    for (std::size_t k = 0; k < g.size(); ++k)
        if (!r.silent[k] && r.level[k] >= 0)
            rough.push_back(std::abs(g[k] - r.level[k]));
    const double margin = std::max(minspread, roughmargin * median(rough));
    q.threshold = q.levels ? std::max(q.floor + quietshare * (q.typical - q.floor), q.typical - margin) : -1;
    r.quiet.resize(g.size());
    for (std::size_t k = 0; k < g.size(); ++k)
        r.quiet[k] = r.silent[k] || (r.level[k] >= 0 && r.level[k] <= q.threshold);
    return r;
}

// How far below the typical level frame k lies, 1 at the floor.
double depth(const Reading& r, std::size_t k)
{
    if (r.silent[k] || r.level[k] < 0)
        return silentdepth;
    const double spread = std::max(1.0, r.levels.typical - r.levels.floor);
    return std::max(0.0, (r.levels.typical - r.level[k]) / spread);
}

// The part of frames first..last whose depths below the recording's
// level depth(k) gives: its quietest frame, the middle of the longest run
// of frames within tolerance of the deepest, and its score, the mean depth
// weighed up for length (minframes long counts once).
template <class Depth>
QuietPart scoredpart(std::int64_t first, std::int64_t last, std::int64_t minframes, double tolerance,
                     const Depth& depth)
{
    QuietPart p;
    p.first = first;
    p.last = last;
    double total = 0, deepest = 0;
    for (std::int64_t k = first; k <= last; ++k) {
        const double d = depth(k);
        total += d;
        deepest = std::max(deepest, d);
    }
    const double deep = deepest - tolerance;
    std::int64_t bestfrom = first, bestlength = 0;
    for (std::int64_t k = first; k <= last;) {
        if (depth(k) < deep) {
            ++k;
            continue;
        }
        std::int64_t e = k;
        while (e < last && depth(e + 1) >= deep)
            ++e;
        if (e - k + 1 > bestlength) {
            bestlength = e - k + 1;
            bestfrom = k;
        }
        k = e + 1;
    }
    p.quietest = bestfrom + (bestlength - 1) / 2;
    const double length = static_cast<double>(last - first + 1);
    p.score = total / length * std::sqrt(length / static_cast<double>(std::max<std::int64_t>(1, minframes)));
    return p;
}

// A part of the recording: its quietest frame among the deepest ones.
QuietPart part(const Reading& r, std::int64_t first, std::int64_t last, const QuietOptions& o)
{
    return scoredpart(first, last, o.minframes, 0,
                      [&](std::int64_t k) { return depth(r, static_cast<std::size_t>(k)); });
}

}  // namespace

QuietLevels quietlevels(std::span<const std::uint8_t> gains, const QuietOptions& options)
{
    return read(gains, options).levels;
}

std::vector<QuietPart> quietparts(std::span<const std::uint8_t> gains, const QuietOptions& options)
{
    const Reading r = read(gains, options);
    std::vector<QuietPart> parts;
    const std::int64_t n = static_cast<std::int64_t>(gains.size());
    std::int64_t k = 0;
    while (k < n) {
        if (!r.quiet[static_cast<std::size_t>(k)]) {
            ++k;
            continue;
        }
        std::int64_t e = k;
        while (e + 1 < n && r.quiet[static_cast<std::size_t>(e + 1)])
            ++e;
        if (e - k + 1 >= options.minframes)
            parts.push_back(part(r, k, e, options));
        k = e + 1;
    }
    return parts;
}

std::int64_t quietedge(std::span<const std::uint8_t> gains, int side, const QuietOptions& options)
{
    const Reading r = read(gains, options);
    const std::int64_t n = static_cast<std::int64_t>(gains.size());
    std::int64_t count = 0;
    while (count < n && r.quiet[static_cast<std::size_t>(side == 0 ? count : n - 1 - count)])
        ++count;
    return count;
}

namespace {

// The upper level (75th percentile) of the levels within context frames of
// each frame, read from a histogram that slides along: levels are medians
// of bytes, so 256 bins hold them. Taken every few frames and held between.
std::vector<double> musiclevels(const std::vector<double>& level, int context)
{
    const std::int64_t n = static_cast<std::int64_t>(level.size());
    std::vector<double> upper(level.size(), -1);
    std::array<std::int64_t, 256> bins{};
    std::int64_t count = 0;
    auto bin = [&](std::int64_t k) { return static_cast<std::size_t>(std::clamp(level[static_cast<std::size_t>(k)], 0.0, 255.0)); };
    auto add = [&](std::int64_t k, int by) {
        if (k < 0 || k >= n || level[static_cast<std::size_t>(k)] < 0)
            return;
        bins[bin(k)] += by;
        count += by;
    };
    for (std::int64_t k = 0; k < std::min<std::int64_t>(n, context); ++k)
        add(k, 1);
    constexpr int stride = 4;
    double held = -1;
    for (std::int64_t k = 0; k < n; ++k) {
        add(k + context, 1);
        add(k - context - 1, -1);
        if (k % stride == 0) {
            held = -1;
            if (count > 0) {
                const std::int64_t below = count - count / 4;  // the 75th percentile's rank
                std::int64_t seen = 0;
                for (std::size_t b = 0; b < bins.size(); ++b) {
                    seen += bins[b];
                    if (seen > below - 1) {
                        held = static_cast<double>(b);
                        break;
                    }
                }
            }
        }
        upper[static_cast<std::size_t>(k)] = held;
    }
    return upper;
}

}  // namespace

std::vector<QuietPart> gapparts(std::span<const std::uint8_t> gains, const GapPartOptions& options)
{
    const std::vector<bool> silent = silentframes(gains, options.flatrun, options.window);
    const std::vector<double> level = framelevels(gains, silent, options.window);
    const std::vector<double> upper = musiclevels(level, options.context);
    const std::size_t n = gains.size();
    // how far below the music around it a frame lies, in dips; digital silence deepest
    constexpr double silentdip = 3;
    std::vector<double> depth(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        if (silent[k] || level[k] < 0)
            depth[k] = silentdip;
        else if (upper[k] >= 0)
            depth[k] = std::min(silentdip - 1, (upper[k] - level[k]) / std::max(1, options.dip));
    }
    std::vector<QuietPart> parts;
    std::size_t k = 0;
    while (k < n) {
        if (depth[k] < 1) {
            ++k;
            continue;
        }
        std::size_t e = k;
        while (e + 1 < n && depth[e + 1] >= 1)
            ++e;
        const std::int64_t length = static_cast<std::int64_t>(e - k + 1);
        if (length >= options.minframes) {
            // a noise floor's levels wander by a step or two: the quietest
            // stretch takes the frames within half a dip of the deepest
            const QuietPart p = scoredpart(static_cast<std::int64_t>(k), static_cast<std::int64_t>(e),
                                           options.minframes, 0.5,
                                           [&](std::int64_t i) { return depth[static_cast<std::size_t>(i)]; });
            parts.push_back(p);
        }
        k = e + 1;
    }
    return parts;
}

}  // namespace qc
