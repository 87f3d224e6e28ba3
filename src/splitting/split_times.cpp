#include "splitting/split_times.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace qc {

namespace {

bool digits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A whole number of digits, or digits with a fraction ("83", "83.5", ".5" is not one).
std::optional<double> decimal(std::string_view s)
{
    const std::size_t dot = s.find('.');
    const std::string_view whole = s.substr(0, dot);
    if (!digits(whole) || whole.size() > 12)
        return std::nullopt;
    double v = 0;
    for (char c : whole)
        v = v * 10 + (c - '0');
    if (dot == std::string_view::npos)
        return v;
    const std::string_view fraction = s.substr(dot + 1);
    if (!digits(fraction))
        return std::nullopt;
    double scale = 0.1;
    for (char c : fraction) {
        v += (c - '0') * scale;
        scale /= 10;
    }
    return v;
}

}  // namespace

std::optional<double> parseclock(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    for (;;) {
        const std::size_t colon = text.find(':', at);
        fields.push_back(text.substr(at, colon == std::string_view::npos ? std::string_view::npos : colon - at));
        if (colon == std::string_view::npos)
            break;
        at = colon + 1;
    }
    if (fields.size() > 3)
        return std::nullopt;
    double seconds = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const bool last = i + 1 == fields.size();
        if (!last && !digits(fields[i]))
            return std::nullopt;
        const std::optional<double> v = decimal(fields[i]);
        // minutes and seconds after an hour or minute field stay below 60
        if (!v || (i > 0 && *v >= 60))
            return std::nullopt;
        seconds = seconds * 60 + *v;
    }
    return seconds;
}

std::string clocktext(std::int64_t samples, std::int32_t samplerate)
{
    if (samplerate <= 0)
        samplerate = 44100;
    const std::int64_t ms = (samples * 1000 + samplerate / 2) / samplerate;
    const std::int64_t h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, f = ms % 1000;
    char buf[48];
    if (h > 0)
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld.%03lld", static_cast<long long>(h),
                      static_cast<long long>(m), static_cast<long long>(s), static_cast<long long>(f));
    else
        std::snprintf(buf, sizeof buf, "%02lld:%02lld.%03lld", static_cast<long long>(m), static_cast<long long>(s),
                      static_cast<long long>(f));
    return buf;
}

std::int64_t cueframestosamples(std::int64_t frames, std::int32_t samplerate)
{
    return (frames * samplerate * 2 + 75) / 150;
}

std::int64_t samplestocueframes(std::int64_t samples, std::int32_t samplerate)
{
    if (samplerate <= 0)
        return 0;
    return (samples * 150 + samplerate) / (2 * std::int64_t{samplerate});
}

std::string cuetimetext(std::int64_t frames)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(frames / 4500),
                  static_cast<long long>(frames / 75 % 60), static_cast<long long>(frames % 75));
    return buf;
}

}  // namespace qc
