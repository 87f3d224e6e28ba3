#include "support/record_checks.h"

#include <optional>
#include <utility>

#include "cutting/copy_plan.h"

namespace qccheck {

namespace {
std::string at(const char* what, std::int64_t n)
{
    return std::string(what) + " (" + std::to_string(n) + ")";
}
}  // namespace

std::string brokenrecord(const qc::LoadedFile& f, std::int64_t filesize)
{
    if (f.filesize != filesize)
        return at("filesize differs from the file's", f.filesize);
    if (f.framecount < 1 || f.framecount != static_cast<std::int64_t>(f.framepos.size()) ||
        f.framecount != static_cast<std::int64_t>(f.framegain.size()))
        return at("framecount out of range", f.framecount);
    if (f.totalframes != f.framecount)
        return at("totalframes differs from framecount", f.totalframes);
    if (f.framepos[0] < 1)
        return at("first frame before the file", f.framepos[0]);
    for (std::int32_t i = 1; i < f.framecount; ++i)
        if (f.framepos[i] <= f.framepos[i - 1])
            return at("frame positions not increasing at frame", i);
    const std::int32_t last = f.framepos[f.framecount - 1];
    // every frame's sync and header byte 2 were read
    if (last + 2 > filesize)
        return at("last frame's header beyond the file", last);
    if (f.headtagpresent) {
        if (f.headtagsize < 10 || f.headtagsize > f.filesize)
            return at("ID3v2 tag size out of range", f.headtagsize);
        if (f.framepos[0] <= f.headtagsize)
            return at("first frame inside the ID3v2 tag", f.framepos[0]);
    }
    if (f.riffpresent && (f.riffstart < 1 || f.riffstart >= f.framepos[0] || f.leadingstart != 0))
        return at("RIFF header not before the first frame", f.riffstart);
    if (f.leadingstart != 0 && (f.leadingstart < 1 || f.leadingstart >= f.framepos[0]))
        return at("leading data not before the first frame", f.leadingstart);
    if (f.footerfound && (f.footerpos < 1 || f.footerpos > filesize))
        return at("ID3v1 tag outside the file", f.footerpos);
    // unknown data after the frames begins at the earliest where the last
    // frame does (the walk may give up on a frame that overruns the file)
    if (f.betweenstart != 0 && (f.betweenstart < last || f.betweenstart > filesize))
        return at("unknown data after the frames out of place", f.betweenstart);
    if (f.afterstart != 0 && (f.afterstart <= last || f.afterstart > filesize + 1))
        return at("unknown data after the tag out of place", f.afterstart);
    return {};
}

std::string brokenplans(qc::LoadedFile& f)
{
    const std::int64_t saved[2] = {f.cutframes[0], f.cutframes[1]};
    const std::int64_t count = f.framecount;
    const std::pair<std::int32_t, std::int32_t> cutlist[] = {
        {0, 0}, {1, 0}, {0, 1}, {count / 2, 0}, {0, count / 2}};
    std::string broken;
    for (auto [c0, c1] : cutlist) {
        if (c0 + c1 >= count)
            continue;
        f.cutframes[0] = c0;
        f.cutframes[1] = c1;
        const std::string cuts = " with cuts " + std::to_string(c0) + "/" + std::to_string(c1);
        for (int keep = 0; keep < 8 && broken.empty(); ++keep) {
            // a box is shown only for a structure the load found, and a
            // damaged footer tag's box is always checked
            qc::KeptStructures kept{(keep & 1) != 0 && f.headtagpresent, (keep & 2) != 0 && f.riffpresent,
                                    (keep & 4) != 0 && f.footerfound && f.footerspan >= 127};
            std::optional<qc::CopyPlan> plan = qc::makecopyplan(f, kept);
            if (!plan) {
                broken = "no plan" + cuts;
                break;
            }
            std::int64_t previous = 1;
            for (const qc::Piece& p : plan->pieces) {
                if (p.from < previous || p.end <= p.from || p.end > std::int64_t{f.filesize} + 1) {
                    broken = "piece " + std::to_string(p.from) + ".." + std::to_string(p.end) +
                             " out of order or outside the file" + cuts;
                    break;
                }
                previous = p.end;
            }
        }
        if (!broken.empty())
            break;
    }
    f.cutframes[0] = saved[0];
    f.cutframes[1] = saved[1];
    return broken;
}

}  // namespace qccheck
