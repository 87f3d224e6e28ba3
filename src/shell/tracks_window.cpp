#include "shell/tracks_window.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cutting/save.h"
#include "splitting/cue_sheet.h"
#include "splitting/split_points.h"
#include "splitting/split_times.h"
#include "splitting/track_writer.h"
#include "stream/paths.h"
#include "texts/error_message.h"
#include "texts/save_texts.h"

namespace qc {

namespace {

const char* const caption = "Tracks";
const char* const errorcaption = "Error";

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Where the first of the loaded file's frames starts on the timeline: the
// tag frame and the decoder's lead come before the first sample played.
std::int64_t gainstart(const AudioTimeline& t)
{
    return -(t.tagframe ? t.samplesperframe : 0) - t.lead;
}

// Writes a small text file through a temporary name and a rename, so that
// a failure leaves what was there; the errno of the failure, 0 on success.
int writetext(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".new";
    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return errno != 0 ? errno : EIO;
        out << text;
        out.flush();
        if (!out) {
            const int e = errno != 0 ? errno : EIO;
            std::remove(temporary.c_str());
            return e;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int e = errno;
        std::remove(temporary.c_str());
        return e != 0 ? e : EIO;
    }
    return 0;
}

}  // namespace

TracksWindow::TracksWindow(LoadedFile& file, ui::TracksForm& form, CutPositions& cuts, ui::MessageBox& box,
                           ui::EventPump& pump, ui::DialogRunner& dialogs)
    : f_(file), w_(form), cuts_(cuts), box_(box), pump_(pump), dialogs_(dialogs)
{
    cuedlg.title = " - choose a cue sheet - ";
    cuedlg.filter = "Cue sheets|*.cue|All files|*.*";
    exportdlg.title = " - save the cue sheet as - ";
    exportdlg.filter = "Cue sheets|*.cue|All files|*.*";
    exportdlg.saving = true;
    exportdlg.overwriteprompt = true;
    folderdlg.title = " - choose the folder for the tracks - ";
    folderdlg.folder = true;
}

void TracksWindow::wire(ui::MainForm& main)
{
    main_ = &main;
    main.tracksmenu.onclick = [this] { open(); };
    main.tracksbut.onclick = [this] { open(); };

    w_.onclose = [this] { formclose(); };
    w_.onformkey = [this](char& key) { formkey(key); };
    for (ui::SplitStrip* s : {&w_.overview, &w_.detail}) {
        s->onselect = [this](int point) { pointselected(point); };
        s->onmove = [this](int point, std::int64_t sample) { pointmoved(point, sample); };
        s->onpick = [this](std::int64_t sample) { placepicked(sample); };
        s->onarrow = [this](bool right, bool shift) { arrow(right, shift); };
        s->onremove = [this] { removepoint(); };
        s->onrelease = [this] { showall(); };
    }
    w_.findbut.onclick = [this] { findgaps(); };
    w_.addbut.onclick = [this] { addpoint(); };
    w_.removebut.onclick = [this] { removepoint(); };
    w_.importbut.onclick = [this] { importcue(); };
    w_.exportbut.onclick = [this] { exportcue(); };
    w_.writebut.onclick = [this] { writetracks(); };
    w_.cancelbut.onclick = [this] { cancel(); };
    w_.list.onselect = [this](int track) { trackselected(track); };
    w_.list.ontitle = [this](int track, const std::string& title) { titleedited(track, title); };
    w_.mingapedit.onkeypress = [this](char& key) {
        if (key == ui::key_enter) {
            key = 0;
            findgaps();
        }
    };
}

void TracksWindow::open()
{
    if (f_.busy)
        return;
    if (!f_.loadok) {
        box_.msgbox("No file is loaded: load the recording to split first.", 64, caption);
        return;
    }
    w_.show();
    showall();
}

void TracksWindow::fileloaded()
{
    points.clear();
    own_.reset();
    ownread_ = false;
    picked = -1;
    detailcentre_ = -1;
    detailpoint_ = -1;
    status_.clear();
    w_.overview.setplot({}, 0, f_.samplesperframe, 0, 0, f_.samplerate);
    overviewset_ = false;
    if (main_)
        main_->tracksmenu.setenabled(true);
    if (w_.visible())
        showall();
}

void TracksWindow::cutschanged()
{
    if (w_.visible() && !writing_)
        showall();
}

const AudioTimeline* TracksWindow::timeline()
{
    if (!f_.loadok || f_.busy)
        return nullptr;
    if (cuts_.timeline())
        return &*cuts_.timeline();
    if (!ownread_) {
        own_ = readaudiotimeline(f_);
        ownread_ = true;
    }
    return own_ ? &*own_ : nullptr;
}

bool TracksWindow::ready()
{
    return !writing_ && timeline() != nullptr;
}

void TracksWindow::keptrange(const AudioTimeline& t, std::int64_t& from, std::int64_t& to) const
{
    if (cuts_.exact()) {
        const SampleCuts c = cuts_.samplecuts();
        from = c.start.value_or(0);
        to = t.samples - c.end.value_or(0);
    } else {
        from = framecutsamples(t, 0, f_.cutframes[0]);
        to = t.samples - framecutsamples(t, 1, f_.cutframes[1]);
    }
    from = std::clamp<std::int64_t>(from, 0, t.samples);
    to = std::clamp<std::int64_t>(to, 0, t.samples);
}

std::int64_t TracksWindow::snap(std::int64_t sample)
{
    const AudioTimeline* t = timeline();
    return t ? boundarysample(*t, nearestboundary(*t, sample)) : sample;
}

void TracksWindow::showstatus(const std::string& text)
{
    status_ = text;
    showall();
}

void TracksWindow::showall()
{
    const AudioTimeline* t = timeline();
    for (ui::Control* c : w_.editing())
        c->setenabled(t != nullptr && !writing_);
    if (!t) {
        points.setrange(0, 0);
        w_.list.setrows({});
        for (ui::SplitStrip* s : {&w_.overview, &w_.detail}) {
            s->setplot({}, 0, f_.samplesperframe, 0, 0, f_.samplerate);
            s->setpoints({}, -1);
        }
        overviewset_ = false;
        w_.statuslabel.setcaption(f_.loadok ? "The file cannot be read again: reload it." : "No file is loaded.");
        return;
    }
    std::int64_t from = 0, to = 0;
    keptrange(*t, from, to);
    points.setrange(from, to);
    if (!overviewset_) {
        w_.overview.setplot(f_.framegain, gainstart(*t), t->samplesperframe, 0, t->samples, t->samplerate);
        overviewset_ = true;
    }
    const std::vector<std::int64_t> shown = points.points();
    const int point = points.selectedpoint();
    for (ui::SplitStrip* s : {&w_.overview, &w_.detail}) {
        s->setkept(from, to);
        s->setpoints(shown, point);
        s->setcursor(picked);
    }
    showdetail(*t, true);

    const std::vector<Track> tracks = points.tracks();
    std::vector<ui::TrackRow> rows;
    for (std::size_t i = 0; i < tracks.size(); ++i)
        rows.push_back({std::to_string(i + 1), clocktext(tracks[i].start, t->samplerate),
                        clocktext(tracks[i].samples(), t->samplerate), tracks[i].title});
    w_.list.setrows(std::move(rows));
    w_.list.setselected(points.selected());

    const bool any = !tracks.empty();
    w_.removebut.setenabled(!writing_ && point >= 0);
    for (ui::Control* c : {&w_.addbut, &w_.findbut, &w_.exportbut, &w_.writebut})
        c->setenabled(!writing_ && any);

    std::string text = any ? plural(tracks.size(), "track", "tracks") + " from " + clocktext(from, t->samplerate) +
                                 " to " + clocktext(to, t->samplerate)
                           : "The cuts leave no audio to split.";
    if (!status_.empty())
        text += ". " + status_;
    w_.statuslabel.setcaption(text);
}

void TracksWindow::showdetail(const AudioTimeline& t, bool recentre)
{
    const int point = points.selectedpoint();
    const std::int64_t centre = point >= 0 ? points.points()[static_cast<std::size_t>(point)] : points.from();
    const std::int64_t half = std::max<std::int64_t>(1, secondstosamples(t, detailseconds));
    // not while a point of the strip is dragged: it would run away under the pointer
    if (recentre && w_.detail.grabbed() < 0) {
        const std::int64_t margin = half / 5;
        const bool inview = detailcentre_ >= 0 && centre >= w_.detail.from() + margin && centre <= w_.detail.to() - margin;
        if (point != detailpoint_ || !inview)
            detailcentre_ = centre;
        detailpoint_ = point;
        std::int64_t from = std::max<std::int64_t>(0, detailcentre_ - half);
        const std::int64_t to = std::min(t.samples, from + 2 * half);
        from = std::max<std::int64_t>(0, to - 2 * half);
        if (from != w_.detail.from() || to != w_.detail.to() || w_.detail.samplerate() != t.samplerate)
            w_.detail.setplot(f_.framegain, gainstart(t), t.samplesperframe, from, to, t.samplerate);
    }
    const int track = points.selected();
    w_.detail.setcaption(track < 0 ? "around the selected point"
                                   : "around the start of track " + std::to_string(track + 1) +
                                         (point >= 0 ? " (point " + std::to_string(point + 1) + ")" : ""));
}

void TracksWindow::formclose()
{
    if (writing_)
        cancelled_ = true;
    if (closed)
        closed();
}

void TracksWindow::formkey(char& key)
{
    if (key != ui::key_escape)
        return;
    key = 0;
    if (writing_)
        cancel();
    else
        w_.close();
}

void TracksWindow::findgaps()
{
    if (!ready())
        return;
    std::string text = w_.mingapedit.text();
    std::replace(text.begin(), text.end(), ',', '.');
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    const std::optional<double> seconds = parseclock(text);
    if (!seconds || !(*seconds > 0) || *seconds > 600) {
        box_.msgbox("The minimum gap must be a time in seconds above 0 and up to 600, such as 1.5; the box holds \"" +
                        w_.mingapedit.text() + "\".",
                    48, caption);
        w_.setfocus(&w_.mingapedit);
        return;
    }
    const AudioTimeline& t = *timeline();
    GapOptions o;
    o.mingap = *seconds;
    const std::vector<Gap> gaps = qc::findgaps(f_, t, points.from(), points.to(), o);
    points.setpoints(gappoints(gaps));
    picked = -1;
    showstatus(gaps.empty() ? "No gap of " + text + " s or more was found: the recording stays one track"
                            : "Found " + plural(gaps.size(), "gap", "gaps") + " of " + text + " s or more");
}

void TracksWindow::addpoint()
{
    if (!ready())
        return;
    const AudioTimeline& t = *timeline();
    const int track = points.selected();
    if (track < 0)
        return;
    std::int64_t at = picked;
    if (at < 0 || points.trackat(at) != track) {
        const Track tr = points.tracks()[static_cast<std::size_t>(track)];
        at = snap(tr.start + tr.samples() / 2);
    }
    if (!points.add(at, t.samplesperframe)) {
        showstatus("No point added: each track holds a frame at least");
        return;
    }
    picked = -1;
    showstatus("");
}

void TracksWindow::removepoint()
{
    if (!ready())
        return;
    if (points.remove(points.selected()))
        showstatus("");
}

void TracksWindow::pointselected(int point)
{
    if (!ready())
        return;
    points.select(point + 1);
    showall();
}

void TracksWindow::pointmoved(int point, std::int64_t sample)
{
    if (!ready())
        return;
    points.select(point + 1);
    points.move(point + 1, snap(sample), timeline()->samplesperframe);
    showall();
}

void TracksWindow::placepicked(std::int64_t sample)
{
    if (!ready())
        return;
    picked = snap(sample);
    points.select(points.trackat(picked));
    showall();
}

void TracksWindow::arrow(bool right, bool shift)
{
    if (!ready())
        return;
    const AudioTimeline& t = *timeline();
    const int point = points.selectedpoint();
    if (point < 0)
        return;
    const std::int64_t step = shift ? t.samplerate : t.samplesperframe;
    const std::int64_t now = points.points()[static_cast<std::size_t>(point)];
    points.move(point + 1, now + (right ? step : -step), t.samplesperframe);
    showall();
}

void TracksWindow::trackselected(int track)
{
    if (!ready())
        return;
    points.select(track);
    showall();
}

void TracksWindow::titleedited(int track, const std::string& title)
{
    if (!ready())
        return;
    points.settitle(track, title);
    showall();
}

void TracksWindow::importcue()
{
    if (!ready())
        return;
    const AudioTimeline& t = *timeline();
    cuedlg.initialdir = directorywithslash(f_.sourcename);
    if (!dialogs_.execute(cuedlg))
        return;
    const std::string name = cuedlg.filename;
    const CueRead read = readcuesheet(name);
    if (!read.sheet) {
        std::string text = "The cue sheet " + name + " cannot be used";
        if (read.problem.line > 0)
            text += " (line " + std::to_string(read.problem.line) + ")";
        box_.msgboxutf8(text + ":\r\n" + read.problem.message, 48, errorcaption);
        return;
    }
    const CueSheet& sheet = *read.sheet;
    for (const CueTrack& track : sheet.tracks)
        if (cueframestosamples(track.index, t.samplerate) >= t.samples) {
            box_.msgboxutf8("The cue sheet " + name + " cannot be used (line " + std::to_string(track.line) +
                                "):\r\nINDEX 01 " + cuetimetext(track.index) + " lies past the end of the file (" +
                                clocktext(t.samples, t.samplerate) + ").",
                            48, errorcaption);
            return;
        }
    if (!sheet.file.empty() && filenameof(sheet.file) != filenameof(f_.sourcename)) {
        const std::string text = "The cue sheet " + name + " is for the file \"" + sheet.file + "\" (line " +
                                 std::to_string(sheet.fileline) + "), not for " + filenameof(f_.sourcename) +
                                 ".\r\nUse its times for this file?";
        if (box_.msgboxutf8(text, 4 + 32 + 256, caption) != ui::idyes)
            return;
    }
    points.setcue(sheet, t.samplerate);
    picked = -1;
    showstatus("Taken from " + filenameof(name));
}

void TracksWindow::exportcue()
{
    if (!ready())
        return;
    const AudioTimeline& t = *timeline();
    if (points.count() == 0)
        return;
    if (points.count() > maxcuetracks) {
        const std::string tracks = plural(static_cast<std::size_t>(points.count()), "track", "tracks");
        box_.msgboxutf8("The cue sheet was not written:\r\n" + tracks + ", and a cue sheet holds at most 99.", 48,
                        errorcaption);
        return;
    }
    const std::string source = filenameof(f_.sourcename);
    exportdlg.initialdir = directorywithslash(f_.sourcename);
    const std::size_t dot = source.rfind('.');
    exportdlg.filename = (dot == std::string::npos || dot == 0 ? source : source.substr(0, dot)) + ".cue";
    if (!dialogs_.execute(exportdlg))
        return;
    const std::string name = exportdlg.filename;
    const int e = writetext(name, cuesheettext(points.cuesheet(source, t.samplerate)));
    if (e != 0) {
        box_.msgboxutf8("The cue sheet was not written:\r\ncannot write " + name + ": " + errnotext(e), 48,
                        errorcaption);
        return;
    }
    showstatus("Cue sheet written to " + name);
}

void TracksWindow::writetracks()
{
    if (!ready())
        return;
    const AudioTimeline& t = *timeline();
    const std::vector<Track> tracks = points.tracks();
    if (tracks.empty())
        return;
    folderdlg.initialdir = folder.empty() ? directorywithslash(f_.sourcename) : folder;
    if (!dialogs_.execute(folderdlg))
        return;
    std::string chosen = folderdlg.filename;
    while (chosen.size() > 1 && chosen.back() == '/')
        chosen.pop_back();
    SplitOptions o;
    o.folder = chosen;
    o.exact = exact;
    o.album = points.album;
    o.performer = points.performer;
    const std::vector<PlannedTrack> plan = plantracks(f_, t, tracks, o);

    // never over a file of the user's without asking
    std::vector<std::string> existing;
    for (const PlannedTrack& p : plan) {
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(p.output, ec)))
            existing.push_back(filenameof(p.output));
    }
    if (!existing.empty()) {
        std::string text = (existing.size() == plan.size() ? std::string("All ") : std::string()) +
                           std::to_string(existing.size()) + " of the " + plural(plan.size(), "track's", "tracks'") +
                           " files already exist in " + chosen + ":";
        for (std::size_t i = 0; i < existing.size() && i < 3; ++i)
            text += "\r\n" + existing[i];
        if (existing.size() > 3)
            text += "\r\n...";
        text += "\r\nReplace them?";
        if (box_.msgboxutf8(text, 4 + 48 + 256, caption) != ui::idyes)
            return;
        o.force = true;
    }
    folder = chosen == "/" ? chosen : chosen + "/";
    // what a killed run left in the folder goes first
    removestaletemporaries(chosen);

    writing_ = true;
    cancelled_ = false;
    f_.busy = true;
    for (ui::Control* c : w_.editing())
        c->setenabled(false);
    const bool panel = main_ && main_->frame1.enabled();
    if (main_)
        for (ui::Control* c : {&main_->filemenu, &main_->optmenu, &main_->frame1})
            c->setenabled(false);
    w_.statuslabel.setvisible(false);
    w_.pbar.setposition(0);
    w_.pbar.setvisible(true);
    w_.cancelbut.setenabled(true);
    w_.cancelbut.setvisible(true);
    w_.setfocus(&w_.cancelbut);

    SplitHooks hooks;
    hooks.progress = [this](std::size_t done, std::size_t count) {
        w_.pbar.setposition(count == 0 ? 100 : static_cast<int>(done * 100 / count));
        pump_.processpending();
        return !cancelled_;
    };
    const SplitOutcome out = qc::writetracks(f_, t, plan, o, hooks);

    writing_ = false;
    f_.busy = false;
    w_.pbar.setvisible(false);
    w_.cancelbut.setvisible(false);
    w_.statuslabel.setvisible(true);
    if (main_) {
        main_->filemenu.setenabled(true);
        main_->optmenu.setenabled(true);
        main_->frame1.setenabled(panel);
    }

    const std::size_t written = out.tracks.size();
    if (out.error) {
        const Error& e = *out.error;
        const std::string cause = savecause(e);
        const std::string why = errormessage(e, cause.empty() ? savefailuretext(e) : cause);
        std::string text = written < plan.size() ? "Track " + std::to_string(written + 1) + " of " +
                                                       std::to_string(plan.size()) + " (" +
                                                       filenameof(plan[written].output) + ") was not written:\r\n"
                                                 : "The tracks were not written:\r\n";
        text += why;
        text += written == 0 ? "\r\nNo track was written."
                             : "\r\nThe " + plural(written, "track", "tracks") + " before it are complete.";
        status_ = "Writing stopped after " + plural(written, "track", "tracks");
        showall();
        box_.msgboxutf8(text, 48, errorcaption);
        return;
    }
    if (out.cancelled || written < plan.size()) {
        status_ = "Cancelled after " + std::to_string(written) + " of " + plural(plan.size(), "track", "tracks");
        showall();
        box_.msgboxutf8("Cancelled: " + std::to_string(written) + " of " + plural(plan.size(), "track", "tracks") +
                            " written to " + chosen + ", each one complete; no partial file is left.",
                        64, caption);
        return;
    }
    showstatus(plural(written, "track", "tracks") + " written to " + chosen);
}

void TracksWindow::cancel()
{
    if (!writing_)
        return;
    cancelled_ = true;
    w_.cancelbut.setenabled(false);
}

}  // namespace qc
