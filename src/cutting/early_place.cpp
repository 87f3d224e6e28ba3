#include "cutting/early_place.h"

namespace qc {

namespace {

std::optional<EarlyPlace> bytewise(const LoadedFile& f, const EarlyCut& cut)
{
    std::optional<CopySections> s = makecopysections(f, cut.keep, cut.startframes, f.framecount - 1);
    if (!s || s->framesfrom >= s->framesto)
        return std::nullopt;
    EarlyPlace place;
    for (std::size_t i = 0; i < s->framesfrom; ++i)
        place.outputfrom += s->plan.pieces[i].size();
    place.sourcefrom = s->plan.pieces[s->framesfrom].from - 1;
    return place;
}

std::optional<EarlyPlace> exactly(const LoadedFile& f, const EarlyCut& cut, SourceBytes& source)
{
    // the end is not known yet: one frame stands for any cut there, so
    // that the plan makes the tag frame it will have
    const SampleCuts samples{cut.samples.start, std::nullopt};
    ExactResult r = makeexactplan(f, cut.keep, samples, {cut.startframes, cut.endcut ? 1 : 0}, source);
    if (!r.plan)
        return std::nullopt;
    ExactPlan& plan = *r.plan;
    finishexactplan(plan, 0);  // the tag frame at its size
    EarlyPlace place;
    for (std::size_t i = 0; i < plan.output.pieces.size(); ++i) {
        const OutPiece& p = plan.output.pieces[i];
        if (i >= plan.audiofrom && p.literal < 0) {
            place.sourcefrom = p.source.from - 1;
            return place;
        }
        place.outputfrom += plan.output.size(p);
    }
    return std::nullopt;
}

}  // namespace

std::optional<EarlyPlace> earlyplace(const LoadedFile& f, const EarlyCut& cut, SourceBytes& source)
{
    if (f.framecount < 1 || cut.startframes < 0 || cut.startframes >= f.framecount)
        return std::nullopt;
    return cut.exact ? exactly(f, cut, source) : bytewise(f, cut);
}

}  // namespace qc
