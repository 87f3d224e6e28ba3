// The text output: what the window shows, one fact per line, with the
// window's own texts.
#include <sstream>

#include "cli/formatter.h"
#include "cli/shown_text.h"
#include "cutting/fixed.h"
#include "texts/save_texts.h"
#include "texts/tag_texts.h"

namespace qccli {

namespace {

// The window's text for a failure where it has one.
std::string shownerror(const Failure& f)
{
    return showntext(f.window.empty() ? f.message : f.window);
}

// The ID3v2 view's text is decoded UTF-8 (utf8), the ID3v1 view's bytes.
void printview(std::ostream& out, const char* heading, const TagReport& tag, bool utf8)
{
    out << heading << "\n";
    std::string text = tag.failed || utf8 ? showntext(tag.view) : shownbytes(tag.view);
    out << text;
    if (!text.empty() && text.back() != '\n')
        out << "\n";
}

class TextFormatter : public Formatter {
public:
    Printed info(const InfoReport& r) const override
    {
        std::ostringstream out;
        out << r.file << "\n";
        if (!r.facts) {
            if (r.error)
                out << "  error: " << shownerror(*r.error) << "\n";
            return {out.str(), errorline(r), r.error.has_value()};
        }
        const InfoFacts& f = *r.facts;
        for (const RateCount& rate : f.rates)
            out << "  " << showntext(rate.caption) << "\n";
        out << "  " << showntext(f.infocaption) << "\n";
        out << "  frames: " << f.frames << ", first at byte " << f.firstframe << "\n";
        if (f.samplesperframe != 1152)
            out << "  " << f.version << " Layer III, " << f.samplesperframe << " samples a frame\n";
        out << "  ID3v2 tag: " << (f.id3v2 ? std::to_string(f.id3v2->size) + " bytes" : "none") << "\n";
        out << "  RIFF header: " << (f.riff ? "yes" : "none") << "\n";
        out << "  ID3v1 tag: " << (f.id3v1 ? (f.id3v1->damaged ? "damaged" : "yes") : "none") << "\n";
        for (const UnknownStretch& s : f.unknown)
            out << "  unknown data (" << s.where << "): " << s.extent.size << " bytes at " << s.extent.offset
                << (s.included ? ", included" : ", left out") << "\n";
        out << "  silence frames by method 1/2/3: start " << f.silencestart[0] << "/" << f.silencestart[1] << "/"
            << f.silencestart[2] << ", end " << f.silenceend[0] << "/" << f.silenceend[1] << "/"
            << f.silenceend[2] << "\n";
        if (f.gains) {
            out << "  gains:";
            for (int g : *f.gains)
                out << " " << g;
            out << "\n";
        }
        for (const std::string& w : r.warnings)
            out << "  warning: " << showntext(w) << "\n";
        return {out.str(), errorline(r), r.error.has_value()};
    }

    Printed tags(const TagsReport& r) const override
    {
        std::ostringstream out;
        out << r.file << "\n";
        if (r.error && !r.id3v2view && !r.id3v1view) {
            out << "  error: " << shownerror(*r.error) << "\n";
            return {out.str(), errorline(r), true};
        }
        if (!r.id3v2view && !r.id3v1view)
            out << "no tags\n";
        if (r.id3v2view)
            printview(out, qc::tagcaption::id3v2, *r.id3v2view, true);
        if (r.id3v1view)
            printview(out, qc::tagcaption::id3v1, *r.id3v1view, false);
        return {out.str(), errorline(r), r.error.has_value()};
    }

    Printed cut(const CutReport& r) const override
    {
        std::ostringstream out;
        if (r.saved && r.exact) {
            const qc::ExactSummary& w = *r.exact;
            out << r.output << ": " << w.frames << " frames written, " << r.bytes << " bytes, "
                << qc::fixed(w.seconds(), 3) << " seconds (" << w.samples << " samples)";
            if (w.reservoirframes > 0 || w.carrier)
                out << ", " << w.reservoirframes << " reservoir frame" << (w.reservoirframes == 1 ? "" : "s")
                    << (w.carrier ? " and a carrier frame" : "") << " kept ahead of the audio";
            out << "\n";
        }
        if (r.saved && !r.exact) {
            out << r.output << ": " << r.frameskept << " frames kept, " << r.bytes << " bytes written, "
                << qc::fixed(r.seconds, 3) << " seconds\n";
        }
        if (r.saved) {
            for (const LeftOut& l : r.leftout)
                out << "  left out: " << l.what << ", " << l.extent.size << " bytes at " << l.extent.offset << "\n";
        } else if (r.unchanged) {
            out << qc::nochanges << "\n";
        }
        if (r.loaded)
            for (const std::string& w : r.warnings)
                out << "  warning: " << showntext(w) << "\n";
        // nothing written is no failure, but a script reading standard
        // error learns of it there
        if (r.unchanged)
            return {out.str(), r.file + ": " + qc::nochanges + "\n", false};
        return {out.str(), errorline(r), r.error.has_value()};
    }

    Printed split(const SplitReport& r) const override
    {
        std::ostringstream out;
        if (!r.error) {
            out << r.file << ": " << r.tracks.size() << (r.tracks.size() == 1 ? " track" : " tracks")
                << (r.dryrun ? " would be written into " : " written into ") << r.folder << "\n";
            for (const SplitTrack& t : r.tracks)
                out << "  " << t.output << "  " << t.title << "  " << qc::fixed(t.seconds, 3) << " s (samples "
                    << t.start << " to " << t.end << ")\n";
            if (!r.cue.empty())
                out << "  cue sheet: " << r.cue << "\n";
        }
        for (const std::string& w : r.warnings)
            out << "  warning: " << showntext(w) << "\n";
        return {out.str(), errorline(r), r.error.has_value()};
    }

    Printed usage(const std::string& message) const override { return {{}, message + "\n", true}; }
};

}  // namespace

std::string errorline(const Common& r)
{
    return r.error ? showntext(r.error->message) + "\n" : std::string();
}

std::unique_ptr<Formatter> textformatter()
{
    return std::make_unique<TextFormatter>();
}

}  // namespace qccli
