// Trimmed real files as other tools see them: mp3val and ffprobe find the
// source's frame count minus the cut and no new fault, apart from the
// frame and byte counts in the encoder's Info/Xing header, which is copied
// unchanged.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>

#include "writer_fixture.h"

namespace {

using namespace qctest;

std::string shq(const std::string& s)
{
    return "'" + s + "'";
}

// Output (stdout and stderr) of a shell command.
std::string capture(const std::string& command)
{
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return out;
    std::array<char, 4096> buf{};
    while (std::fgets(buf.data(), static_cast<int>(buf.size()), p))
        out += buf.data();
    ::pclose(p);
    return out;
}

bool have(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

struct Verdict {
    int frames = -1;
    std::set<std::string> faults;  // without the file's name
};

Verdict mp3val(const std::string& path)
{
    Verdict v;
    std::istringstream lines(capture("mp3val " + shq(path)));
    std::string line;
    const std::string named = "\"" + path + "\": ";
    std::smatch m;
    static const std::regex count(R"((\d+) MPEG frames)");
    while (std::getline(lines, line)) {
        std::size_t at = line.find(named);
        if (at != std::string::npos)
            line.erase(at, named.size());
        if (line.rfind("INFO:", 0) == 0 && std::regex_search(line, m, count))
            v.frames = std::stoi(m[1]);
        else if (line.rfind("WARNING:", 0) == 0 || line.rfind("ERROR:", 0) == 0)
            v.faults.insert(line);
    }
    return v;
}

Verdict ffprobe(const std::string& path)
{
    Verdict v;
    std::istringstream lines(capture("ffprobe -v error -count_frames -select_streams a:0 -show_entries "
                                     "stream=nb_read_frames -of default=nw=1 " + shq(path)));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("nb_read_frames=", 0) == 0)
            v.frames = std::stoi(line.substr(15));
        else if (!line.empty())
            v.faults.insert(line);
    }
    return v;
}

bool xingcount(const std::string& fault)
{
    return fault.find("specified in Xing header") != std::string::npos;
}

struct Trim {
    const char* sample;
    int start, end;
};

TEST(TrimmedRealFiles, AcceptedByMp3valAndFfprobe)
{
    ASSERT_TRUE(have("mp3val") && have("ffprobe")) << "mp3val and ffmpeg are test packages";
    for (Trim t : {Trim{"tone44-cbr64-tagged.mp3", 3, 2}, Trim{"tone44-cbr64-tagged.mp3", 0, 5},
                   Trim{"tone48-vbr-mono.mp3", 4, 7}, Trim{"tone48-vbr-mono.mp3", 0, 1},
                   Trim{"tone32-crc.mp3", 10, 10}, Trim{"tone32-crc.mp3", 0, 30}}) {
        SCOPED_TRACE(std::string(t.sample) + " cut " + std::to_string(t.start) + "+" + std::to_string(t.end));
        SaveRig rig;
        const std::string source = samplepath(t.sample);
        ASSERT_TRUE(rig.loadfile(source));
        rig.cut(0, t.start);
        rig.cut(1, t.end);
        const std::string out = rig.dir.path("out.mp3");
        rig.saveto(out);
        ASSERT_TRUE(rig.writer.saveok);

        Verdict before = mp3val(source), after = mp3val(out);
        ASSERT_GT(before.frames, 0);
        EXPECT_EQ(after.frames, before.frames - t.start - t.end);
        for (const std::string& fault : after.faults) {
            // A start cut drops the Info/Xing frame itself; mp3val then notes
            // a variable bitrate without such a header.
            bool headergone = t.start > 0 && fault.find("no VBR header is present") != std::string::npos;
            EXPECT_TRUE(before.faults.count(fault) || xingcount(fault) || headergone) << fault;
        }

        Verdict probed = ffprobe(out), probedsource = ffprobe(source);
        for (const std::string& fault : probed.faults)
            EXPECT_TRUE(probedsource.faults.count(fault)) << fault;
        // ffprobe does not count the Info/Xing frame as audio while it is there
        EXPECT_EQ(probed.frames, after.frames - (t.start == 0 ? 1 : 0));
    }
}

}  // namespace
