#include "cli/info_report.h"

#include "analysis/load_report.h"
#include "texts/load_texts.h"
#include "silence/methods.h"

namespace qccli {

namespace {

// What each silence detection method finds at one end, as the auto-use on
// load examines the file.
std::array<std::int32_t, 3> silenceside(const qc::LoadedFile& f, int side)
{
    return {qc::autodetected(f, side, 1), qc::autodetected(f, side, 2), qc::autodetected(f, side, 3)};
}

}  // namespace

std::vector<UnknownStretch> unknownstretches(const std::vector<Region>& regions)
{
    std::vector<UnknownStretch> out;
    for (const Region& r : regions)
        if (!r.where.empty())
            out.push_back({r.where, {r.from - 1, r.end - r.from}, r.included});
    return out;
}

InfoReport inforeport(const Engine& engine, const std::string& given, bool gains)
{
    InfoReport r;
    r.file = given;
    r.warnings = engine.warnings;
    r.error = engine.failure;
    const qc::LoadedFile& f = engine.file;
    if (r.error || !f.loadok)
        return r;
    InfoFacts facts;
    facts.size = f.filesize;
    facts.frames = f.framecount;
    facts.firstframe = f.framepos[0] - 1;
    facts.lastframe = f.framepos[f.framecount - 1] - 1;
    facts.samplerate = f.samplerate;
    facts.version = qc::versiontext(f.versionbits);
    facts.samplesperframe = f.samplesperframe;
    facts.channelmode = qc::channelmodetext(f.channelmode);
    for (int i = 0; i <= 14; ++i)
        if (f.ratecount[i] != 0)
            facts.rates.push_back({i, i == 0 ? std::string("free") : std::to_string(qc::kbps(f.versionbits, i)),
                                   f.ratecount[i], qc::bitratecaption(engine.report, i)});
    facts.seconds = f.totalframes * f.secondsperframe;
    facts.infocaption = qc::infocaption(engine.report);
    if (f.headtagpresent)
        facts.id3v2 = Extent{0, f.headtagsize};
    if (f.riffpresent)
        facts.riff = Extent{f.riffstart - 1, std::int64_t{f.framepos[0]} - f.riffstart};
    if (f.footerfound)
        facts.id3v1 = InfoFacts::Footer{f.footerpos - 1, f.footerspan < 127};
    facts.unknown = unknownstretches(fileregions(f, engine.truncated));
    facts.silencestart = silenceside(f, 0);
    facts.silenceend = silenceside(f, 1);
    if (gains)
        facts.gains = std::vector<int>(f.framegain.begin(), f.framegain.end());
    r.facts = std::move(facts);
    return r;
}

}  // namespace qccli
