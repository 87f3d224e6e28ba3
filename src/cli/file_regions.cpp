#include "cli/file_regions.h"

#include <algorithm>

#include "analysis/load_report.h"
#include "cutting/copy_plan.h"

namespace qccli {

namespace {

constexpr std::int64_t footersize = 128;

}  // namespace

std::vector<Region> fileregions(const qc::LoadedFile& f, bool truncated)
{
    std::vector<Region> out;
    if (!f.loadok || f.framecount < 1)
        return out;
    const std::int64_t fileend = std::int64_t{f.filesize} + 1;
    auto add = [&](Region r) {
        if (!out.empty())
            r.from = std::max(r.from, out.back().end);
        r.end = std::min(r.end, fileend);
        if (r.end > r.from)
            out.push_back(std::move(r));
    };
    std::int64_t next = 1;
    if (f.headtagpresent) {
        add({"id3v2", "", 1, std::int64_t{f.headtagsize} + 1, false});
        next = std::int64_t{f.headtagsize} + 1;
    }
    const std::vector<qc::UnknownStretch> unknown = qc::unknownstretches(f);
    auto stretch = [&](qc::UnknownStretch::Where where) -> const qc::UnknownStretch* {
        for (const qc::UnknownStretch& u : unknown)
            if (u.where == where)
                return &u;
        return nullptr;
    };
    if (const qc::UnknownStretch* u = stretch(qc::UnknownStretch::Leading)) {
        add({"unknown", "leading", u->from, u->end, u->included});
        next = f.framepos[0];
    }
    if (f.riffpresent)
        add({"riff", "", std::max<std::int64_t>(next, f.riffstart), f.framepos[0], false});
    add({"frames", "", f.framepos[0], qc::lastframeend(f), false});
    if (const qc::UnknownStretch* u = stretch(qc::UnknownStretch::Between))
        add({"unknown", "between", u->from, u->end, u->included});
    if (f.footerfound && f.footerpos != 0) {
        std::int64_t end = std::min(std::int64_t{f.footerpos} + footersize, fileend);
        if (f.afterstart != 0)
            end = std::min(end, std::max<std::int64_t>(f.afterstart, f.footerpos));
        add({"id3v1", "", f.footerpos, end, false});
    }
    if (const qc::UnknownStretch* u = stretch(qc::UnknownStretch::After))
        add({truncated && !f.footerfound ? "damaged-tail" : "unknown", "after", u->from, u->end, u->included});
    return out;
}

std::vector<LeftOut> leftout(const std::vector<Region>& regions, const qc::CopyPlan& plan)
{
    std::vector<LeftOut> out;
    for (const Region& r : regions) {
        if (r.what == "frames")
            continue;
        std::int64_t at = r.from;
        auto gap = [&](std::int64_t upto) {
            if (upto > at)
                out.push_back({r.what, {at - 1, upto - at}});
        };
        for (const qc::Piece& p : plan.pieces) {
            if (p.end <= at || p.from >= r.end)
                continue;
            gap(p.from);
            at = std::max(at, p.end);
        }
        gap(r.end);
    }
    return out;
}

}  // namespace qccli
