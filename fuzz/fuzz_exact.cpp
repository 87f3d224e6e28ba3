// Exact output of any loaded input with any cut: the first eight bytes
// choose the cuts (frames or samples at each end), the rest is the file,
// loaded with every question answered Yes. Every output frame must parse,
// the tag frame must describe the output (counts, TOC, CRCs) and no source
// byte may be taken twice or out of order.
#include <cstring>
#include <vector>

#include "check.h"
#include "cutting/crc16.h"
#include "cutting/exact_plan.h"
#include "cutting/xing_tag.h"
#include "load_rig.h"
#include "stream/frame_header.h"

namespace {

qc::LoadedFile loaded;

class MemoryBytes : public qc::SourceBytes {
public:
    MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        if (offset < 0 || static_cast<std::uint64_t>(offset) + n > size_)
            return false;
        std::memcpy(buf, data_ + offset, n);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

bool validheader(const std::uint8_t* p, std::size_t n)
{
    // a frame of the loaded stream's version (MPEG-1, 2 or 2.5)
    return n >= 4 && qc::framesync(p[0], p[1], loaded.versionbits) && (p[2] >> 4) != 15 && (p[2] & 0x0C) != 0x0C;
}

std::uint32_t be32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void check(const std::uint8_t* file, std::size_t size, qc::ExactPlan& plan)
{
    MemoryBytes source(file, size);
    const qc::OutputPlan& out = plan.output;
    // source pieces: in range, in order, never overlapping
    std::int64_t lastend = 1;
    for (const qc::OutPiece& p : out.pieces) {
        if (p.literal >= 0) {
            QC_FUZZ_CHECK(static_cast<std::size_t>(p.literal) < out.literals.size());
            continue;
        }
        QC_FUZZ_CHECK(p.source.from >= lastend && p.source.end > p.source.from);
        QC_FUZZ_CHECK(p.source.end <= static_cast<std::int64_t>(size) + 1);
        lastend = p.source.end;
    }
    if (plan.tagliteral < 0)
        return;
    std::uint16_t crc = 0;
    std::vector<std::uint8_t> audio;
    std::size_t audiostart = 0;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < out.pieces.size(); ++i) {
        const qc::OutPiece& p = out.pieces[i];
        if (i == plan.audiofrom)
            audiostart = bytes.size();
        std::vector<std::uint8_t> chunk;
        if (p.literal >= 0) {
            chunk = out.literals[p.literal];
        } else {
            chunk.resize(static_cast<std::size_t>(p.source.size()));
            QC_FUZZ_CHECK(source.read(p.source.from - 1, chunk.data(), chunk.size()));
        }
        if (i >= plan.audiofrom && i < plan.audioto)
            crc = qc::crc16arc(crc, chunk.data(), chunk.size());
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
    qc::finishexactplan(plan, crc);
    const std::vector<std::uint8_t>& tag = out.literals[plan.tagliteral];
    QC_FUZZ_CHECK(tag.size() == plan.tag.length);
    QC_FUZZ_CHECK(validheader(tag.data(), tag.size()));
    std::optional<qc::XingTag> read = qc::readxingtag(tag.data(), tag.size());
    QC_FUZZ_CHECK(read && read->haslame && read->flags == 0x0F);
    QC_FUZZ_CHECK(read->delay == plan.summary.delay && read->padding == plan.summary.padding);
    QC_FUZZ_CHECK(std::int64_t{read->frames} * loaded.samplesperframe - read->delay - read->padding ==
                  plan.summary.samples);
    QC_FUZZ_CHECK(read->frames + 1 == plan.summary.frames);
    // the audio: literal frames whole, source frames at their recorded places
    std::size_t audiobytes = 0;
    std::vector<std::size_t> offsets;  // of every audio frame, from the tag frame's start
    for (std::size_t i = plan.audiofrom; i < plan.audioto; ++i) {
        const qc::OutPiece& p = out.pieces[i];
        if (p.literal >= 0) {
            const std::vector<std::uint8_t>& f = out.literals[p.literal];
            QC_FUZZ_CHECK(validheader(f.data(), f.size()));
            QC_FUZZ_CHECK(static_cast<std::int64_t>(f.size()) ==
                          qc::framelength(loaded.versionbits, f[2] >> 4, (f[2] >> 1) & 1, loaded.framesizefactor));
            offsets.push_back(tag.size() + audiobytes);
        } else {
            for (std::int32_t k = 0; k < loaded.framecount; ++k) {
                std::int64_t at = loaded.framepos[k];
                if (at >= p.source.from && at < p.source.end) {
                    // a source frame parses as the load took it: the loader
                    // also keeps free-format frames with any rate bits
                    QC_FUZZ_CHECK(static_cast<std::size_t>(at) + 1 <= size &&
                                  qc::framesync(file[at - 1], file[at], loaded.versionbits));
                    offsets.push_back(tag.size() + audiobytes + static_cast<std::size_t>(at - p.source.from));
                }
            }
        }
        audiobytes += static_cast<std::size_t>(out.size(p));
    }
    QC_FUZZ_CHECK(offsets.size() == read->frames);
    QC_FUZZ_CHECK(read->bytes == tag.size() + audiobytes);
    for (int i = 0; i < 100; ++i) {
        std::size_t k = static_cast<std::size_t>(i) * read->frames / 100;
        std::uint64_t v = 256u * offsets[k] / read->bytes;
        QC_FUZZ_CHECK(read->toc[i] == std::min<std::uint64_t>(255, v));
    }
    const std::uint8_t* lame = tag.data() + read->idoffset + qc::lameoffset;
    QC_FUZZ_CHECK(be32(lame + qc::lamemusiclength) == read->bytes);
    QC_FUZZ_CHECK(((lame[qc::lamemusiccrc] << 8) | lame[qc::lamemusiccrc + 1]) ==
                  qc::crc16arc(0, bytes.data() + audiostart, audiobytes));
    std::uint16_t tagcrc = qc::crc16arc(0, tag.data(), static_cast<std::size_t>(read->idoffset + qc::lameoffset +
                                                                                qc::lametagcrc));
    QC_FUZZ_CHECK(((lame[qc::lametagcrc] << 8) | lame[qc::lametagcrc + 1]) == tagcrc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::MemFile input;
    static ui::MainForm form;
    static qc::CutPositions cuts(loaded, form);
    static qcfuzz::AnswerBox box;
    static qcfuzz::NoPump pump;
    static qcfuzz::FixedMeasure measure;
    static qc::LoadCommand scanner(loaded, form, cuts, box, pump, measure);
    static bool wired = [] {
        cuts.wire();
        box.use(qcfuzz::Answers::Yes);
        scanner.answers = &box;
        form.trymenu.setchecked(true);
        return true;
    }();
    (void)wired;
    if (size < 8)
        return 0;
    const std::uint8_t* choice = data;
    data += 8;
    size -= 8;
    loaded.sourcename = input.hold(data, size);
    scanner.scanfile(true);
    if (!loaded.loadok || loaded.framecount < 1)
        return 0;

    qc::SampleCuts samples;
    const std::int32_t n = loaded.framecount;
    auto side = [&](int k) { return static_cast<std::int32_t>((choice[2 * k] | (choice[2 * k + 1] << 8)) % (n + 1)); };
    loaded.cutframes[0] = side(0);
    loaded.cutframes[1] = side(1);
    if (choice[4] & 1)
        samples.start = (choice[5] | (choice[6] << 8)) * 37;
    if (choice[4] & 2)
        samples.end = (choice[6] | (choice[7] << 8)) * 41;
    qc::KeptStructures keep{(choice[4] & 4) != 0, (choice[4] & 8) != 0, (choice[4] & 16) != 0};
    MemoryBytes source(data, size);
    qc::ExactResult r = qc::makeexactplan(loaded, keep, samples, source);
    if (r.plan)
        check(data, size, *r.plan);
    loaded.cutframes[0] = loaded.cutframes[1] = 0;
    return 0;
}
