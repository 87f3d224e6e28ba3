#include "analysis/load_report.h"

#include <algorithm>

namespace qc {



std::vector<UnknownStretch> unknownstretches(const LoadedFile& f)
{
    std::vector<UnknownStretch> out;
    const std::int64_t fileend = std::int64_t{f.filesize} + 1;
    if (f.leadingstart != 0)
        out.push_back({UnknownStretch::Leading, f.leadingstart, f.framepos[0], f.includeleading});
    if (f.betweenstart != 0) {
        std::int64_t end = fileend;
        // A tag that did not end the file properly leaves footerpos at the
        // file size, with the stretch asked about running to the end: its
        // last byte is no tag boundary.
        if (f.footerfound && f.footerpos < f.filesize)
            end = std::min(end, std::max<std::int64_t>(f.footerpos, f.betweenstart));
        if (f.afterstart != 0)
            end = std::min(end, std::max<std::int64_t>(f.afterstart, f.betweenstart));
        out.push_back({UnknownStretch::Between, f.betweenstart, end, f.includebetween});
    }
    if (f.afterstart != 0)
        out.push_back({UnknownStretch::After, f.afterstart, fileend, f.includeafter});
    return out;
}

void summarize(const LoadedFile& f, LoadReport& r)
{
    r.filesize = f.filesize;
    r.frames = f.framecount;
    r.firstframe = f.framecount > 0 ? f.framepos[0] - 1 : 0;
    r.lastframe = f.framecount > 0 ? f.framepos[f.framecount - 1] - 1 : 0;
    std::int64_t total = 0;
    for (int i = 0; i <= 14; ++i) {
        r.bitrateframes[static_cast<std::size_t>(i)] = f.ratecount[i];
        total += f.ratecount[i];
    }
    r.dominantbitrate = -1;
    for (int i = 0; i <= 14; ++i)
        if (total > 0 && f.ratecount[i] == total)
            r.dominantbitrate = i;
    r.versionbits = f.versionbits;
    r.sampleratebits = f.sampleratebits;
    r.samplerate = f.samplerate;
    r.samplesperframe = f.samplesperframe;
    r.channelmode = f.channelmode;
    r.secondsperframe = f.secondsperframe;
    r.seconds = total * f.secondsperframe;
    r.freeformatframes = f.ratecount[0];

    r.id3v2 = {f.headtagpresent, 0, f.headtagpresent ? f.headtagsize : 0};
    r.riff = {f.riffpresent, f.riffpresent ? f.riffstart - 1 : 0,
              f.riffpresent && f.framecount > 0 ? f.framepos[0] - f.riffstart : 0};
    r.id3v1 = {f.footerfound, f.footerfound ? f.footerpos - 1 : 0,
               f.footerfound ? std::min<std::int64_t>(128, std::int64_t{f.filesize} - f.footerpos + 1) : 0};
    r.id3v1damaged = f.footerfound && f.footerspan < 127;
    r.unknown = unknownstretches(f);
}

}  // namespace qc
