#include "cutting/copy_plan.h"

#include "analysis/load_report.h"
#include "cutting/mapped_copy.h"

#include <algorithm>
#include <limits>

namespace qc {

namespace {

constexpr std::int64_t headerbytes = 4;  // a frame's header is copied before its end is sought
constexpr std::int64_t footersize = 128;

// A damaged file can leave the record's stretches overlapping (a "TAG" inside
// the last frame's header, data said to begin inside it): the output still
// takes every source byte at most once and in source order.
void add(CopyPlan& plan, std::int64_t from, std::int64_t end)
{
    if (!plan.pieces.empty())
        from = std::max(from, plan.pieces.back().end);
    if (end > from)
        plan.pieces.push_back({from, end});
}

// ID3v2 tag, unknown leading data and RIFF header, read from position 1 on.
void headpieces(const LoadedFile& f, const SaveChoices& c, CopyPlan& plan)
{
    const KeptStructures& keep = c.keep;
    if (f.framepos[0] == 1 || !(f.riffpresent || f.headtagpresent || c.includeleading))
        return;
    std::int64_t next = 1;
    if (f.headtagpresent) {
        if (keep.headtag)
            add(plan, 1, std::int64_t{f.headtagsize} + 1);
        next = std::int64_t{f.headtagsize} + 1;
    }
    if (next == f.leadingstart) {
        if (c.includeleading)
            add(plan, f.leadingstart, f.framepos[0]);
        next = f.framepos[0];
    }
    // the RIFF header with every chunk before the first frame, unchanged
    if (f.riffpresent && keep.riff)
        add(plan, next, f.framepos[0]);
}

// The end of the file's last frame is not recorded: it runs to the first
// of the ID3v1 tag, the unknown data after the frames, the cut-off tail
// and the end of the file.
std::int64_t lastframeend(const LoadedFile& f, std::int64_t start)
{
    std::int64_t from = start + headerbytes;
    std::int64_t end = std::int64_t{f.filesize} + 1;
    if (f.footerfound)
        end = std::min(end, std::max<std::int64_t>(f.footerpos, from));
    // these two stop the byte-by-byte copy only when it meets them exactly
    if (f.betweenstart >= from)
        end = std::min<std::int64_t>(end, f.betweenstart);
    if (f.afterstart >= from)
        end = std::min<std::int64_t>(end, f.afterstart);
    // a last frame cut off inside its header ends with the file
    return std::min(std::max(end, from), std::int64_t{f.filesize} + 1);
}

void framepieces(const LoadedFile& f, std::int64_t first, std::int64_t last, CopyPlan& plan)
{
    // every kept frame but the last, in blocks through the copy buffer
    add(plan, first, f.framepos[last]);
    if (last < f.framecount - 1)
        add(plan, f.framepos[last], f.framepos[last + 1]);
    else
        add(plan, f.framepos[last], lastframeend(f, f.framepos[last]));
}

void trailingpieces(const LoadedFile& f, const SaveChoices& c, CopyPlan& plan)
{
    const KeptStructures& keep = c.keep;
    const std::int64_t fileend = std::int64_t{f.filesize} + 1;
    const std::vector<UnknownStretch> unknown = unknownstretches(f);
    auto stretch = [&](UnknownStretch::Where where) -> const UnknownStretch* {
        for (const UnknownStretch& u : unknown)
            if (u.where == where)
                return &u;
        return nullptr;
    };
    if (const UnknownStretch* between = stretch(UnknownStretch::Between); between && c.includebetween)
        add(plan, between->from, between->end);
    if (f.footerpos != 0 && keep.footer) {
        std::int64_t end = std::min(std::int64_t{f.footerpos} + footersize, fileend);
        if (f.afterstart != 0)
            end = std::min(end, std::max<std::int64_t>(f.afterstart, f.footerpos));
        add(plan, f.footerpos, end);
    }
    if (const UnknownStretch* after = stretch(UnknownStretch::After); after && c.includeafter)
        add(plan, after->from, after->end);
}

}  // namespace

std::int64_t lastframeend(const LoadedFile& f)
{
    return lastframeend(f, f.framepos[f.framecount - 1]);
}

std::int64_t CopyPlan::bytes() const
{
    std::int64_t n = 0;
    for (const Piece& p : pieces)
        n += p.size();
    return n;
}

SaveChoices recordchoices(const LoadedFile& f, const KeptStructures& keep, bool replacing)
{
    SaveChoices c;
    c.cuts[0] = f.cutframes[0];
    c.cuts[1] = f.cutframes[1];
    c.keep = keep;
    c.includeleading = f.includeleading;
    c.includebetween = f.includebetween;
    c.includeafter = f.includeafter;
    c.replacing = replacing;
    return c;
}

bool changesanything(const LoadedFile& f, const SaveChoices& c, bool samplecuts)
{
    return c.cuts[0] != 0 || c.cuts[1] != 0 || samplecuts || (f.headtagpresent && !c.keep.headtag) ||
           (f.riffpresent && !c.keep.riff) || (f.footerfound && !c.keep.footer) ||
           (f.leadingstart != 0 && !c.includeleading) || (f.betweenstart != 0 && !c.includebetween) ||
           (f.afterstart != 0 && !c.includeafter);
}

std::optional<CopyPlan> makecopyplan(const LoadedFile& f, const KeptStructures& keep)
{
    return makesaveplan(f, recordchoices(f, keep, false));
}

std::optional<CopyPlan> makesaveplan(const LoadedFile& f, const SaveChoices& c)
{
    const std::int64_t count = f.framecount;
    const std::int64_t cut0 = c.cuts[0], cut1 = c.cuts[1];
    if (count < 1 || count > static_cast<std::int64_t>(f.framepos.size()) || cut0 < 0 || cut1 < 0 || cut0 + cut1 >= count)
        return std::nullopt;
    std::optional<CopySections> s = makesavesections(f, c, cut0, count - 1 - cut1);
    if (!s)
        return std::nullopt;
    return std::move(s->plan);
}

std::optional<CopySections> makecopysections(const LoadedFile& f, const KeptStructures& keep,
                                             std::int64_t firstframe, std::int64_t lastframe)
{
    return makesavesections(f, recordchoices(f, keep, false), firstframe, lastframe);
}

std::optional<CopySections> makesavesections(const LoadedFile& f, const SaveChoices& c,
                                             std::int64_t firstframe, std::int64_t lastframe)
{
    const std::int64_t count = f.framecount;
    if (count < 1 || count > static_cast<std::int64_t>(f.framepos.size()) || firstframe < 0 || lastframe < firstframe || lastframe >= count)
        return std::nullopt;
    const std::int64_t first = f.framepos[firstframe];
    if (f.framepos[lastframe] < first)
        return std::nullopt;

    CopySections s;
    headpieces(f, c, s.plan);
    s.framesfrom = s.plan.pieces.size();
    framepieces(f, first, lastframe, s.plan);
    s.framesto = s.plan.pieces.size();
    trailingpieces(f, c, s.plan);
    return s;
}

bool copypieces(BinaryFile& source, BinaryFile& output, const CopyPlan& plan,
                std::span<std::uint8_t> buffer)
{
    return copypieces(source, output, plan, buffer, mappedcopyrange);
}

bool copypieces(BinaryFile& source, BinaryFile& output, const CopyPlan& plan,
                std::span<std::uint8_t> buffer, const BinaryFile::RangeCopier& copier)
{
    if (buffer.empty())
        return false;
    for (const Piece& piece : plan.pieces) {
        std::int64_t remaining = piece.size();
        std::int64_t copied = 0;
        if (remaining >= static_cast<std::int64_t>(buffer.size())) {
            copied = output.copyfrom(source, piece.from - 1, remaining, copier);
            if (copied < 0)
                return false;
            remaining -= copied;
        }
        source.seek(piece.from - 1 + copied);
        while (remaining > 0) {
            std::size_t n = static_cast<std::size_t>(
                std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
            if (source.read(buffer.data(), n) != n || source.failed())
                return false;
            if (output.write(buffer.data(), n) != n || output.failed())
                return false;
            remaining -= static_cast<std::int64_t>(n);
        }
    }
    return true;
}

}  // namespace qc
