#include "splitting/cue_sheet.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <libcue.h>
#include <memory>
#include <sstream>

#include "splitting/split_times.h"

namespace qc {

namespace {

// The commands of a cue sheet; a line that starts with anything else is a
// mistake worth naming (libcue would pass over it, or fail without saying where).
constexpr std::array<const char*, 22> commands = {
    "REM",      "CATALOG", "CDTEXTFILE", "FILE",     "FLAGS",     "INDEX",     "ISRC",      "PERFORMER",
    "POSTGAP",  "PREGAP",  "SONGWRITER", "TITLE",    "TRACK",     "COMPOSER",  "ARRANGER",  "MESSAGE",
    "DISC_ID",  "GENRE",   "TOC_INFO1",  "TOC_INFO2", "UPC_EAN",  "SIZE_INFO"};

bool known(const std::string& word)
{
    for (const char* c : commands)
        if (word == c)
            return true;
    return false;
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool twodigits(const std::string& s, std::size_t at)
{
    return at + 2 <= s.size() && s[at] >= '0' && s[at] <= '9' && s[at + 1] >= '0' && s[at + 1] <= '9';
}

// mm:ss:ff as frames, or -1.
std::int64_t indextime(const std::string& t)
{
    const std::size_t c1 = t.find(':');
    const std::size_t c2 = c1 == std::string::npos ? c1 : t.find(':', c1 + 1);
    if (c1 == std::string::npos || c2 == std::string::npos || c1 == 0 || c1 > 6 || c2 != c1 + 3 ||
        t.size() != c2 + 3 || !twodigits(t, c1 + 1) || !twodigits(t, c2 + 1))
        return -1;
    for (std::size_t i = 0; i < c1; ++i)
        if (t[i] < '0' || t[i] > '9')
            return -1;
    const std::int64_t m = std::stoll(t.substr(0, c1));
    const int s = std::stoi(t.substr(c1 + 1, 2)), f = std::stoi(t.substr(c2 + 1, 2));
    if (s >= 60 || f >= 75)
        return -1;
    return (m * 60 + s) * 75 + f;
}

struct Lines {
    std::vector<int> indexlines;  // the INDEX 01 line of each track
    int fileline = 0;
};

// Checks each line's command and the INDEX times, and notes where each
// track's INDEX 01 is.
std::optional<CueProblem> checklines(const std::string& text, Lines& lines)
{
    std::istringstream in(text);
    std::string line;
    int number = 0, files = 0, tracks = 0;
    bool intrack = false, hasindex = false;
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        std::size_t quotes = 0;
        for (char c : line)
            quotes += c == '"';
        if (quotes % 2 != 0)
            return CueProblem{"a quotation mark is not closed", number};
        const std::string command = upper(word);
        if (!known(command))
            return CueProblem{"unknown command \"" + word + "\"", number};
        if (command == "FILE") {
            if (++files > 1)
                return CueProblem{"a second FILE: a cue sheet of one file is needed", number};
            lines.fileline = number;
        } else if (command == "TRACK") {
            if (intrack && !hasindex)
                return CueProblem{"the track before has no INDEX 01", number};
            if (files == 0)
                return CueProblem{"TRACK before FILE", number};
            if (++tracks > maxcuetracks)
                return CueProblem{"a cue sheet holds at most 99 tracks", number};
            intrack = true;
            hasindex = false;
        } else if (command == "INDEX") {
            std::string n, time;
            if (!(words >> n >> time) || !intrack)
                return CueProblem{"INDEX needs a track, a number and a time", number};
            if (indextime(time) < 0)
                return CueProblem{"not a time of mm:ss:ff (seconds below 60, frames below 75): \"" + time + "\"",
                                  number};
            if (n == "01" || n == "1") {
                hasindex = true;
                lines.indexlines.push_back(number);
            }
        }
    }
    if (intrack && !hasindex)
        return CueProblem{"the last track has no INDEX 01", number};
    if (lines.indexlines.empty())
        return CueProblem{"no TRACK with an INDEX 01", 0};
    return std::nullopt;
}

std::string text(const char* s)
{
    return s != nullptr ? s : "";
}

struct CdDeleter {
    void operator()(Cd* cd) const { cd_delete(cd); }
};

// A title as a cue sheet can hold it: on one line, in double quotes.
std::string quoted(const std::string& s)
{
    std::string q;
    for (char c : s)
        q += c == '"' ? '\'' : (c == '\n' || c == '\r') ? ' ' : c;
    return "\"" + q + "\"";
}

}  // namespace

CueRead parsecuesheet(const std::string& sheettext)
{
    CueRead r;
    Lines lines;
    if (std::optional<CueProblem> problem = checklines(sheettext, lines)) {
        r.problem = *problem;
        return r;
    }
    std::string body = sheettext;
    if (body.compare(0, 3, "\xEF\xBB\xBF") == 0)
        body.erase(0, 3);
    const std::unique_ptr<Cd, CdDeleter> cd(cue_parse_string(body.c_str()));
    if (!cd) {
        r.problem = {"it cannot be parsed as a cue sheet", 0};
        return r;
    }
    const int count = cd_get_ntrack(cd.get());
    if (count <= 0 || static_cast<std::size_t>(count) != lines.indexlines.size()) {
        r.problem = {"it cannot be parsed as a cue sheet", 0};
        return r;
    }
    CueSheet sheet;
    sheet.fileline = lines.fileline;
    if (const Cdtext* cdtext = cd_get_cdtext(cd.get())) {
        sheet.title = text(cdtext_get(PTI_TITLE, cdtext));
        sheet.performer = text(cdtext_get(PTI_PERFORMER, cdtext));
    }
    for (int i = 1; i <= count; ++i) {
        const ::Track* track = cd_get_track(cd.get(), i);
        CueTrack t;
        t.line = lines.indexlines[static_cast<std::size_t>(i - 1)];
        if (i == 1)
            sheet.file = text(track_get_filename(track));
        t.index = track_get_index(track, 1);
        if (t.index < 0) {
            r.problem = {"the track has no INDEX 01", t.line};
            return r;
        }
        if (const Cdtext* cdtext = track_get_cdtext(track)) {
            t.title = text(cdtext_get(PTI_TITLE, cdtext));
            t.performer = text(cdtext_get(PTI_PERFORMER, cdtext));
        }
        if (!sheet.tracks.empty() && t.index <= sheet.tracks.back().index) {
            r.problem = {"the times run backwards: this track starts at or before the one before it", t.line};
            return r;
        }
        sheet.tracks.push_back(std::move(t));
    }
    r.sheet = std::move(sheet);
    return r;
}

CueRead readcuesheet(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        CueRead r;
        r.problem = {"it cannot be read", 0};
        return r;
    }
    std::ostringstream all;
    all << in.rdbuf();
    return parsecuesheet(all.str());
}

std::string cuesheettext(const CueSheet& sheet)
{
    std::string s;
    if (!sheet.performer.empty())
        s += "PERFORMER " + quoted(sheet.performer) + "\n";
    if (!sheet.title.empty())
        s += "TITLE " + quoted(sheet.title) + "\n";
    s += "FILE " + quoted(sheet.file) + " MP3\n";
    int n = 0;
    for (const CueTrack& t : sheet.tracks) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", ++n);
        s += std::string("  TRACK ") + number + " AUDIO\n";
        if (!t.title.empty())
            s += "    TITLE " + quoted(t.title) + "\n";
        if (!t.performer.empty())
            s += "    PERFORMER " + quoted(t.performer) + "\n";
        s += "    INDEX 01 " + cuetimetext(t.index) + "\n";
    }
    return s;
}

}  // namespace qc
