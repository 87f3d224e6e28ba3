#include "cutting/exact_plan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "cutting/audio_timeline.h"
#include "cutting/fixed.h"
#include "cutting/side_info.h"
#include "stream/frame_header.h"
#include "tags/tag_length.h"

namespace qc {

namespace {

constexpr int maxdelay = 4095;      // 12 bits
constexpr int bitrate128 = 9;
constexpr std::int64_t riffheaderlimit = 65536;

// The source's frames as the decoders see them: a frame runs to the start
// of the next one, the last one to the end the copy plan gives it.
class Frames {
public:
    Frames(const LoadedFile& f, SourceBytes& src) : f_(f), src_(src)
    {
        std::optional<CopySections> s = makecopysections(f, {}, f.framecount - 1, f.framecount - 1);
        lastend_ = s ? s->plan.pieces[s->framesto - 1].end : f.framepos[f.framecount - 1];
    }
    std::int64_t count() const { return f_.framecount; }
    std::int64_t pos(std::int64_t i) const { return f_.framepos[i]; }
    std::int64_t stride(std::int64_t i) const
    {
        std::int64_t end = i + 1 < count() ? f_.framepos[i + 1] : lastend_;
        return std::max<std::int64_t>(0, end - f_.framepos[i]);
    }
    // The first n bytes of frame i (fewer when it is shorter); false on a read failure.
    bool head(std::int64_t i, std::uint8_t* buf, std::size_t n, std::size_t& got)
    {
        got = static_cast<std::size_t>(std::min<std::int64_t>(stride(i), static_cast<std::int64_t>(n)));
        return got == 0 || src_.read(pos(i) - 1, buf, got);
    }
    SourceBytes& bytes() { return src_; }

private:
    const LoadedFile& f_;
    SourceBytes& src_;
    std::int64_t lastend_ = 0;
};

// Whether frame i holds all the bytes its header says it has (a free-format
// frame, whose length no header gives, counts as whole).
bool whole(Frames& frames, const LoadedFile& f, std::int64_t i)
{
    std::uint8_t h[4] = {};
    std::size_t got = 0;
    if (!frames.head(i, h, sizeof h, got) || got < 3)
        return false;
    const int index = h[2] >> 4;
    if (index == 0 || index == 15)
        return true;
    return frames.stride(i) >= framebytes(f.versionbits, f.sampleratebits, index, h[2] & 0x02);
}

// One frame's reservoir facts.
struct FrameFacts {
    bool ok = false;
    std::array<std::uint8_t, 4> header{};
    int areastart = 36;
    std::int64_t area = 0;  // main-data bytes
    int mdb = 0;
};

bool facts(Frames& frames, std::int64_t i, FrameFacts& out)
{
    std::uint8_t buf[40];
    std::size_t got = 0;
    if (!frames.head(i, buf, sizeof buf, got))
        return false;
    out = {};
    if (got < 4)
        return true;
    std::memcpy(out.header.data(), buf, 4);
    FrameLayout l = framelayout(buf[1], buf[3]);
    out.ok = true;
    out.areastart = l.areastart();
    out.area = std::max<std::int64_t>(0, frames.stride(i) - l.areastart());
    out.mdb = maindatabegin(buf, got);
    return true;
}

std::array<std::uint8_t, 4> madeheader(const std::array<std::uint8_t, 4>& like, int bitrateindex,
                                       const LoadedFile& f)
{
    // no CRC word, no padding; the stream's version and rate (a damaged
    // frame's rate bits may be reserved) and the frame's mode
    return {0xFF, static_cast<std::uint8_t>(0xE3 | f.versionbits),
            static_cast<std::uint8_t>((bitrateindex << 4) | (f.sampleratebits & 0x0C)),
            static_cast<std::uint8_t>(like[3] & 0xCF)};
}

std::size_t madelength(const LoadedFile& f, int bitrateindex)
{
    return static_cast<std::size_t>(framelength(f.versionbits, bitrateindex, 0, f.framesizefactor));
}

std::vector<std::uint8_t> silentframe(const std::array<std::uint8_t, 4>& like, int bitrateindex,
                                      const LoadedFile& f)
{
    std::vector<std::uint8_t> frame(madelength(f, bitrateindex), 0);
    std::array<std::uint8_t, 4> h = madeheader(like, bitrateindex, f);
    std::memcpy(frame.data(), h.data(), 4);
    return frame;
}

// The frames of silence: 32 kbps (the smallest MPEG-1 rate; index 4 of the
// MPEG-2 table).
int silentbitrate(const LoadedFile& f)
{
    return lsf(f.versionbits) ? 4 : 1;
}

// The smallest bitrate whose frame of silence has a main-data area of at
// least n bytes.
int carrierbitrate(const LoadedFile& f, int sidebytes, std::int64_t n)
{
    for (int i = 1; i < 15; ++i)
        if (static_cast<std::int64_t>(madelength(f, i)) - 4 - sidebytes >= n)
            return i;
    return 14;
}

// The bitrate of a new tag frame when neither the source's tag frame nor a
// constant rate gives one: 128 kbps as lame writes for MPEG-1; for MPEG-2
// and 2.5 the smallest that holds the tag.
int fallbacktagrate(const LoadedFile& f, bool mono)
{
    if (!lsf(f.versionbits))
        return bitrate128;
    for (int i = 1; i < 15; ++i)
        if (madelength(f, i) >= tagframeneed(f.versionbits, mono))
            return i;
    return 14;
}

// The last n bytes of the main data that ends where frame `before`'s area
// begins, gathered from the areas of the frames before it.
bool reservoirbytes(Frames& frames, std::int64_t before, std::int64_t n, std::vector<std::uint8_t>& out)
{
    out.assign(static_cast<std::size_t>(n), 0);
    std::int64_t filled = 0;  // from the end
    for (std::int64_t j = before - 1; j >= 0 && filled < n; --j) {
        FrameFacts ff;
        if (!facts(frames, j, ff))
            return false;
        std::int64_t take = std::min(ff.area, n - filled);
        if (take <= 0)
            continue;
        std::int64_t from = frames.pos(j) - 1 + frames.stride(j) - take;
        if (!frames.bytes().read(from, out.data() + (n - filled - take), static_cast<std::size_t>(take)))
            return false;
        filled += take;
    }
    return true;
}

void put32le(std::uint8_t* p, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

std::uint32_t le32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// A RIFF header whose data chunk ends the header and holds the frames:
// its sizes made to describe the output, the fact chunk's sample count
// too. False when the header is not laid out that way; it is then kept
// as it is.
bool patchriff(std::vector<std::uint8_t>& h, std::int64_t databytes, std::int64_t samples)
{
    if (h.size() < 20 || std::memcmp(h.data(), "RIFF", 4) != 0 || std::memcmp(h.data() + 8, "WAVE", 4) != 0)
        return false;
    std::size_t p = 12;
    std::size_t fact = 0;
    while (p + 8 <= h.size()) {
        std::uint32_t size = le32(h.data() + p + 4);
        if (std::memcmp(h.data() + p, "data", 4) == 0) {
            if (p + 8 != h.size())
                return false;
            // no pad byte follows an odd data chunk here, so none is counted
            std::int64_t riff = static_cast<std::int64_t>(h.size()) - 8 + databytes;
            if (riff > 0xFFFFFFFFll)
                return false;
            put32le(h.data() + p + 4, static_cast<std::uint32_t>(databytes));
            put32le(h.data() + 4, static_cast<std::uint32_t>(riff));
            if (fact != 0)
                put32le(h.data() + fact + 8, static_cast<std::uint32_t>(samples));
            return true;
        }
        if (std::memcmp(h.data() + p, "fact", 4) == 0 && size >= 4 && p + 12 <= h.size())
            fact = p;
        std::uint64_t next = std::uint64_t{p} + 8 + size + (size & 1);
        if (next > h.size())
            return false;
        p = static_cast<std::size_t>(next);
    }
    return false;
}

struct Start {
    std::int64_t hidden = 0;  // frames output before the first wanted one
    bool carrier = false;
    std::int64_t silent = 0;
    int delay = 0;
};

// How the output reaches its first wanted sample: the kept reservoir
// frames (or a carrier and the history frames before the wanted one), with
// frames of silence before them where the delay needs room or mpg123's
// synthesis needs the same phase as in the source.
//
// mpg123 starts a gapless stream at the frame that holds the first wanted
// sample and decodes only the `mpg123preframes` frames before it (its
// default --preframes); earlier ones it skips unseen. So every frame the
// wanted one depends on must lie within those, and its synthesis has run
// over min(hidden, 4) frames when the wanted one begins, against `phase`
// frames in the source. Its synthesis rounds as in the source only when the
// two counts agree modulo 2 frames for mono and 4 for stereo in MPEG-1
// (measured), that is 72 and 144 slots of 32 samples; the MPEG-2 and 2.5
// rule is taken as the same slots, 4 and 8 frames of 18 slots (sweeps of
// 22.05 kHz stereo and 11.025 kHz mono starts agree; a period of 2 frames
// does not). Where no start keeps
// the phase (in MPEG-2 it must be reached within four frames) the second
// pass takes one that rounds one step apart in a few samples; the last pass
// is for reservoirs beyond mpg123's reach.
constexpr std::int64_t mpg123preframes = 4;

std::optional<Start> choosestart(std::int64_t needed, std::int64_t offset, std::int64_t phase, bool mono,
                                 int samplesperframe, std::int64_t history, bool crc)
{
    const std::int64_t m = (mono ? 2 : 4) * (1152 / samplesperframe);
    auto candidate = [&](int pass, std::int64_t k, bool carrier) -> std::optional<Start> {
        if (carrier && needed < history + (crc ? 1 : 2))
            return std::nullopt;
        Start s;
        s.carrier = carrier;
        const std::int64_t decode = s.carrier ? 1 + history : needed;
        s.hidden = decode + k;
        s.silent = k;
        std::int64_t delay = samplesperframe * s.hidden + offset - decoderdelay;
        if (delay < 0 || delay > maxdelay)
            return std::nullopt;
        if (pass < 2 && decode > mpg123preframes)
            return std::nullopt;
        if (pass == 0 && (std::min(s.hidden, mpg123preframes) - phase) % m != 0)
            return std::nullopt;
        s.delay = static_cast<int>(delay);
        return s;
    };
    constexpr std::int64_t most = 8;  // frames of silence
    for (int pass = 0; pass < 3; ++pass) {
        if (crc) {
            // a CRC-protected stream takes the carrier wherever it can
            for (bool carrier : {true, false})
                for (std::int64_t k = 0; k < most; ++k)
                    if (auto s = candidate(pass, k, carrier))
                        return s;
            continue;
        }
        for (std::int64_t k = 0; k < most; ++k)
            for (bool carrier : {false, true})
                if (auto s = candidate(pass, k, carrier))
                    return s;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SourceTimeline> sourcetimeline(const LoadedFile& f, SourceBytes& source)
{
    if (f.framecount < 1 || f.framecount > static_cast<std::int64_t>(f.framepos.size()))
        return std::nullopt;
    Frames frames(f, source);
    std::vector<std::uint8_t> first(static_cast<std::size_t>(std::min<std::int64_t>(frames.stride(0), 4096)));
    std::size_t got = 0;
    if (!frames.head(0, first.data(), first.size(), got))
        return std::nullopt;
    SourceTimeline t;
    std::optional<XingTag> tag = readxingtag(first.data(), got);
    t.tagframe = tag.has_value();
    t.audioframes = f.framecount - (t.tagframe ? 1 : 0);
    t.samples = t.audioframes * f.samplesperframe;
    if (tag && tag->haslame && tag->kind != XingTag::Kind::Vbri &&
        tag->delay + tag->padding < t.samples) {
        t.gapless = true;
        t.delay = tag->delay;
        t.padding = tag->padding;
        t.samples -= tag->delay + tag->padding;
    }
    return t;
}

ExactResult makeexactplan(const LoadedFile& f, const KeptStructures& keep, const SampleCuts& cuts,
                          SourceBytes& source)
{
    return makeexactplan(f, keep, cuts, {f.cutframes[0], f.cutframes[1]}, source);
}

ExactResult makeexactplan(const LoadedFile& f, const KeptStructures& keep, const SampleCuts& cuts,
                          const FrameCuts& framecuts, SourceBytes& source)
{
    ExactResult result;
    const std::int64_t count = f.framecount;
    const std::int64_t cut0 = framecuts.start, cut1 = framecuts.end;
    if (count < 1 || count > static_cast<std::int64_t>(f.framepos.size()) || cut0 < 0 || cut1 < 0)
        return result;
    result.refusal = Cause::Disk;
    Frames frames(f, source);
    std::vector<std::uint8_t> first(static_cast<std::size_t>(std::min<std::int64_t>(frames.stride(0), 4096)));
    std::size_t got = 0;
    if (!frames.head(0, first.data(), first.size(), got))
        return result;
    std::optional<XingTag> srctag = readxingtag(first.data(), got);
    std::optional<SourceTimeline> tl = sourcetimeline(f, source);
    if (!tl)
        return result;
    result.refusal = Cause::NothingKept;

    const std::int64_t t = tl->tagframe ? 1 : 0;
    const std::int64_t F = tl->audioframes, S = tl->samples;
    const std::int64_t base = tl->gapless ? tl->delay + decoderdelay : 0;
    const bool vbri = srctag && srctag->kind == XingTag::Kind::Vbri;
    const std::int64_t samplesperframe = f.samplesperframe;
    if (F < 1)
        return result;

    // the wanted stretch of the timeline, [s0, s1)
    const AudioTimeline timeline = audiotimeline(*tl, f.samplerate, f.samplesperframe);
    const std::int64_t s0 = cuts.start ? *cuts.start : framecutsamples(timeline, 0, cut0);
    const std::int64_t s1 = S - (cuts.end ? *cuts.end : framecutsamples(timeline, 1, cut1));
    if (s0 < 0 || s1 > S || s1 <= s0)
        return result;

    ExactPlan plan;
    ExactSummary& sum = plan.summary;
    sum.samplerate = f.samplerate;
    sum.samples = s1 - s0;

    const bool untouched = s0 == 0 && s1 == S && cut0 == 0 && cut1 == 0;
    if (untouched) {
        // nothing cut: the frames as they are, their own tag included
        std::optional<CopySections> sec = makecopysections(f, keep, 0, count - 1);
        if (!sec)
            return result;
        for (const Piece& p : sec->plan.pieces)
            plan.output.addsource(p);
        sum.frames = count;
        sum.delay = tl->delay;
        sum.padding = tl->padding;
        result.plan = std::move(plan);
        return result;
    }

    const std::int64_t r0 = s0 + base, r1 = s1 + base;
    const std::int64_t a0 = s0 == 0 ? 0 : std::min(F - 1, r0 / samplesperframe);
    const std::int64_t offset = r0 - samplesperframe * a0;
    const std::int64_t a1 = s1 == S ? F : std::min(F, (r1 + samplesperframe - 1) / samplesperframe);
    if (a1 <= a0)
        return result;

    FrameFacts firstfacts;
    if (!facts(frames, a0 + t, firstfacts))
        return result;
    if (!firstfacts.ok)
        return result;
    const bool mono = (firstfacts.header[3] & 0xC0) == mode_mono;
    const FrameLayout layout = framelayout(firstfacts.header[1], firstfacts.header[3]);
    const int sidebytes = layout.sidebytes;
    const int reservoirreach = layout.reservoirlimit();

    // The first wanted frame's output depends on the frames before it: the
    // second half of the previous granule's IMDCT is added to it, and the
    // synthesis filter holds the last 15 of 32-sample slots before it. An
    // MPEG-1 frame holds two granules, so both come from the frame before;
    // an MPEG-2 or 2.5 frame holds one, and the slots of the frame before
    // take the overlap of the one before that.
    const std::int64_t history = layout.lsf ? 2 : 1;
    // the reservoir: the bytes the first of those frames and the frames
    // after it reach back for, counted before that frame's area
    std::int64_t needbytes = 0, p = a0;
    if (a0 > 0) {
        const std::int64_t anchor = std::max<std::int64_t>(0, a0 - history);
        std::int64_t seen = 0;
        for (std::int64_t j = anchor; j < a1 && seen < reservoirreach; ++j) {
            FrameFacts ff;
            if (!facts(frames, j + t, ff))
                return result;
            needbytes = std::max(needbytes, std::int64_t{ff.mdb} - seen);
            seen += ff.area;
        }
        p = anchor;
        std::int64_t have = 0;
        while (have < needbytes && p > 0) {
            --p;
            FrameFacts ff;
            if (!facts(frames, p + t, ff))
                return result;
            have += ff.area;
        }
        // a source that lacked them itself decodes no better from here
        needbytes = std::min(needbytes, have);
    }
    const std::int64_t needed = a0 - p;
    const std::int64_t phase = a0 + (vbri ? 1 : 0);
    // mpg123 decodes a CRC-protected frame whose reservoir bytes are missing
    // so that the frames after it lack theirs too (measured: up to 286 off
    // in the first 1,425 samples of a 64 kbps mono stream): in such a
    // stream the first kept frame must need none, so a carrier takes the
    // place of every reservoir frame.
    const bool crc = layout.headerbytes == 6;
    std::optional<Start> start = choosestart(needed, offset, phase, mono, f.samplesperframe, history, crc);
    if (!start)
        return result;
    // Earlier frames of the source serve better than silence: mpg123's
    // synthesis rounds the same as in the source only after the same frames.
    // (Not in a CRC-protected stream, whose first kept frame must need no
    // reservoir bytes.)
    if (!start->carrier && !crc) {
        std::int64_t earlier = std::min(start->silent, p);
        p -= earlier;
        start->silent -= earlier;
    }
    const std::int64_t hiddensource = a0 - p;

    // the output's frames: tag, silence, carrier or reservoir frames, the rest
    const std::int64_t sourcefirst = (start->carrier ? a0 - history : p) + t;
    const std::int64_t sourcelast = a1 - 1 + t;
    // A frame cut short (the file ends inside it) is never written: a
    // decoder would read past its end into whatever follows it.
    if (!whole(frames, f, sourcelast)) {
        result.refusal = Cause::FrameSize;
        return result;
    }
    std::optional<CopySections> sec = makecopysections(f, keep, sourcefirst, sourcelast);
    if (!sec)
        return result;

    std::vector<std::vector<std::uint8_t>> made;
    for (std::int64_t k = 0; k < start->silent; ++k)
        made.push_back(silentframe(firstfacts.header, silentbitrate(f), f));
    if (start->carrier) {
        std::vector<std::uint8_t> carried;
        if (!reservoirbytes(frames, a0 - history + t, needbytes, carried))
            return result;
        std::vector<std::uint8_t> c =
            silentframe(firstfacts.header, carrierbitrate(f, sidebytes, needbytes), f);
        std::copy(carried.begin(), carried.end(), c.end() - static_cast<std::ptrdiff_t>(carried.size()));
        made.push_back(std::move(c));
    }

    // the tag frame's header: the source's own tag frame's rate when it
    // had one, else the stream's constant rate, else 128 kbps
    int used = 0, onlyrate = 0;
    for (int i = 1; i < 15; ++i)
        if (f.ratecount[i] - (t == 1 && i == ((first[2] >> 4) & 15) ? 1 : 0) > 0) {
            ++used;
            onlyrate = i;
        }
    const bool cbr = used == 1 && f.ratecount[0] == 0;
    int tagrate = fallbacktagrate(f, mono);
    if (srctag && srctag->kind != XingTag::Kind::Vbri && got >= 4 && kbps(f.versionbits, (first[2] >> 4) & 15) >= 2)
        tagrate = (first[2] >> 4) & 15;
    else if (cbr)
        tagrate = onlyrate;
    if (madelength(f, tagrate) < tagframeneed(f.versionbits, mono))
        tagrate = fallbacktagrate(f, mono);

    std::int64_t madebytes = 0;
    for (const auto& m : made)
        madebytes += static_cast<std::int64_t>(m.size());
    std::int64_t sourcebytes = 0;
    for (std::size_t i = sec->framesfrom; i < sec->framesto; ++i)
        sourcebytes += sec->plan.pieces[i].size();
    std::int64_t trailingbytes = 0;
    for (std::size_t i = sec->framesto; i < sec->plan.pieces.size(); ++i)
        trailingbytes += sec->plan.pieces[i].size();
    // ffmpeg takes a file that runs on more than 1/16 beyond the tag's byte
    // count for a concatenation and then ignores its frame count, delay
    // and padding: a short output followed by an ID3v1 tag gets a larger
    // tag frame where that makes room.
    auto audiobytes = [&](int rate) {
        return static_cast<std::int64_t>(madelength(f, rate)) + madebytes + sourcebytes;
    };
    while (trailingbytes > audiobytes(tagrate) / 16 && tagrate < 14)
        ++tagrate;
    // then larger frames of silence, which decode the same
    for (int rate = silentbitrate(f) + 1; trailingbytes > audiobytes(tagrate) / 16 && rate < 15; ++rate)
        for (std::int64_t k = 0; k < start->silent; ++k) {
            auto& m = made[static_cast<std::size_t>(k)];
            madebytes -= static_cast<std::int64_t>(m.size());
            m = silentframe(firstfacts.header, rate, f);
            madebytes += static_cast<std::int64_t>(m.size());
        }
    // then more of them, first, where the delay has room; mpg123 decodes
    // only the last four hidden frames, so from four on they do not move
    // its phase
    while (trailingbytes > audiobytes(tagrate) / 16 && start->delay + samplesperframe <= maxdelay) {
        made.insert(made.begin(), silentframe(firstfacts.header, 14, f));
        madebytes += static_cast<std::int64_t>(made.front().size());
        start->delay += static_cast<int>(samplesperframe);
        start->silent += 1;
        start->hidden += 1;
    }

    TagFrameSpec& tag = plan.tag;
    tag.header = madeheader(firstfacts.header, tagrate, f);
    tag.length = madelength(f, tagrate);
    tag.info = srctag && srctag->kind != XingTag::Kind::Vbri ? srctag->kind == XingTag::Kind::Info : cbr;
    tag.quality = srctag && (srctag->flags & 8) ? srctag->quality : 0;
    tag.lame = srctag && srctag->haslame ? srctag->lame : plainlameextension(cbr);

    const std::int64_t audioframes = static_cast<std::int64_t>(made.size()) + (sourcelast - sourcefirst + 1);
    const std::int64_t framebytes = static_cast<std::int64_t>(tag.length) + madebytes + sourcebytes;
    if (framebytes > 0xFFFFFFFFll)
        return result;
    tag.frames = static_cast<std::uint32_t>(audioframes);
    tag.bytes = static_cast<std::uint32_t>(framebytes);
    tag.delay = start->delay;
    const std::int64_t padding = samplesperframe * audioframes - start->delay - (s1 - s0);
    if (padding < 0 || padding > maxdelay)
        return result;
    tag.padding = static_cast<int>(padding);
    const std::int64_t firstpos = f.framepos[sourcefirst];
    tag.toc = maketoc(tag.frames, tag.bytes, [&](std::uint64_t k) -> std::int64_t {
        std::int64_t off = static_cast<std::int64_t>(tag.length);
        if (k < made.size()) {
            for (std::size_t i = 0; i < k; ++i)
                off += static_cast<std::int64_t>(made[i].size());
            return off;
        }
        return off + madebytes + f.framepos[sourcefirst + static_cast<std::int64_t>(k - made.size())] - firstpos;
    });

    // the pieces in output order
    const std::int64_t ms = roundeven(static_cast<double>(s1 - s0) * 1000.0 / sum.samplerate);
    for (std::size_t i = 0; i < sec->framesfrom; ++i) {
        const Piece& piece = sec->plan.pieces[i];
        // the kept ID3v2 tag's stated length (TLEN) is the output's
        if (f.headtagpresent && keep.headtag && piece.from == 1) {
            std::vector<std::uint8_t> id3(static_cast<std::size_t>(piece.size()));
            if (!source.read(0, id3.data(), id3.size()))
                return result;
            if (std::optional<std::vector<std::uint8_t>> stated = withlength(id3, ms)) {
                plan.output.addliteral(std::move(*stated));
                continue;
            }
        }
        bool riff = f.riffpresent && keep.riff && i + 1 == sec->framesfrom && piece.end == f.framepos[0] &&
                    piece.from == f.riffstart && piece.size() <= riffheaderlimit;
        std::vector<std::uint8_t> header;
        if (riff) {
            header.resize(static_cast<std::size_t>(piece.size()));
            if (!source.read(piece.from - 1, header.data(), header.size()))
                return result;
        }
        if (riff && patchriff(header, framebytes, s1 - s0))
            plan.output.addliteral(std::move(header));
        else
            plan.output.addsource(piece);
    }
    plan.tagliteral = plan.output.addliteral({});
    plan.audiofrom = plan.output.pieces.size();
    for (auto& m : made)
        plan.output.addliteral(std::move(m));
    for (std::size_t i = sec->framesfrom; i < sec->framesto; ++i)
        plan.output.addsource(sec->plan.pieces[i]);
    plan.audioto = plan.output.pieces.size();
    for (std::size_t i = sec->framesto; i < sec->plan.pieces.size(); ++i)
        plan.output.addsource(sec->plan.pieces[i]);

    sum.frames = 1 + audioframes;
    sum.reservoirframes = static_cast<std::int32_t>(start->carrier ? history : hiddensource);
    sum.carrier = start->carrier;
    sum.silentframes = static_cast<std::int32_t>(start->silent);
    sum.newtag = true;
    sum.delay = tag.delay;
    sum.padding = tag.padding;
    result.plan = std::move(plan);
    return result;
}

void finishexactplan(ExactPlan& plan, std::uint16_t musiccrc)
{
    if (plan.tagliteral < 0)
        return;
    plan.tag.musiccrc = musiccrc;
    plan.output.literals[plan.tagliteral] = buildtagframe(plan.tag);
}

}  // namespace qc
