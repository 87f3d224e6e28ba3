// The real window program asked for its version: answered without any
// display, with the number the Info window shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "ui/info_form.h"

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
};

ProgramRun run(const std::string& args)
{
    // no platform at all: a start of the window system would fail here
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=none '" +
                                std::string(QC_GUI_PATH) + "' " + args + " 2>/dev/null";
    ProgramRun r;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[256];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int rc = ::pclose(p);
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return r;
}

}  // namespace

TEST(VersionProgram, WindowProgramPrintsTheInfoWindowsVersion)
{
    const ProgramRun r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("quillcut ") + ui::programversion() + "\n");
    ui::InfoForm info;
    EXPECT_EQ(info.versionlabel.caption(), std::string("version ") + ui::programversion());

    const ProgramRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
}
