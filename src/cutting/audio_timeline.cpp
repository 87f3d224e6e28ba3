#include "cutting/audio_timeline.h"

#include <algorithm>

#include "cutting/exact_plan.h"
#include "cutting/fixed.h"

namespace qc {

namespace {

// Far beyond any file (about 6,500 years at 48 kHz), far below int64's end.
constexpr double samplelimit = 1e16;

}  // namespace

AudioTimeline audiotimeline(const SourceTimeline& source, std::int32_t samplerate, int samplesperframe)
{
    AudioTimeline t;
    t.samplerate = samplerate;
    t.samplesperframe = samplesperframe;
    t.tagframe = source.tagframe;
    t.frames = source.audioframes + (source.tagframe ? 1 : 0);
    t.lead = source.gapless ? source.delay + decoderdelay : 0;
    t.samples = source.samples;
    return t;
}

std::optional<AudioTimeline> readaudiotimeline(const LoadedFile& f)
{
    BinaryFile file;
    if (!file.openforreading(f.sourcename)) {
        file.ioresult();
        return std::nullopt;
    }
    FileBytes bytes(file);
    std::optional<SourceTimeline> source = sourcetimeline(f, bytes);
    file.close();
    file.ioresult();
    if (!source)
        return std::nullopt;
    return audiotimeline(*source, f.samplerate, f.samplesperframe);
}

std::int64_t framecutsamples(const AudioTimeline& t, int side, std::int64_t n)
{
    if (n <= 0)
        return 0;
    const std::int64_t tag = t.tagframe ? 1 : 0;
    if (side == 0) {
        const std::int64_t audio = n - tag;  // audio frames cut
        if (audio <= 0)
            return 0;
        return std::clamp(t.samplesperframe * audio - t.lead, std::int64_t{0}, t.samples);
    }
    // the timeline's place of the boundary after the last kept audio frame
    const std::int64_t kept = t.frames - n - tag;
    const std::int64_t end = std::clamp(t.samplesperframe * kept - t.lead, std::int64_t{0}, t.samples);
    return t.samples - end;
}

std::int64_t wholeframes(const AudioTimeline& t, int side, std::int64_t n)
{
    if (n <= 0 || t.frames <= 0)
        return 0;
    // framecutsamples grows with the frame count: the last frame cut that
    // stays within n, by bisection
    std::int64_t lo = 0, hi = t.frames;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo + 1) / 2;
        if (framecutsamples(t, side, mid) <= n)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

std::int64_t secondstosamples(const AudioTimeline& t, double seconds)
{
    const double s = seconds * t.samplerate;
    if (!(s > 0))
        return 0;
    if (s > samplelimit)
        return static_cast<std::int64_t>(samplelimit);
    return roundeven(s);
}

}  // namespace qc
