#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "shell/single_instance.h"
#include "support/harness.h"

namespace {

constexpr int refused = 20;

// Records the boxes a child shows, without the test framework.
class CountingBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override
    {
        ok = ok && text == qc::instancemessage && style == 48 && caption == "Quillcut";
        ++count;
        return ui::idok;
    }
    int count = 0;
    bool ok = true;
};

// A copy of the program: checks, reports through the pipe, then holds on
// until it is killed (when it started) or ends at once (when refused).
pid_t startcopy(const std::string& marker, int reportfd)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    CountingBox box;
    const bool first = qc::singleinstance(box, marker);
    char report = first ? (box.count == 0 ? 'S' : '?') : (box.count == 1 && box.ok ? 'R' : '?');
    if (::write(reportfd, &report, 1) != 1)
        ::_exit(1);
    if (!first)
        ::_exit(refused);
    for (;;)
        ::pause();
}

char readreport(int fd)
{
    char c = 0;
    return ::read(fd, &c, 1) == 1 ? c : 0;
}

int exitcode(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(SingleInstance, SecondCopyRefusedUntilTheFirstDies)
{
    qctest::TempDir dir;
    const std::string marker = dir.path("Vorpelkindax.lock");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);

    const pid_t first = startcopy(marker, fds[1]);
    ASSERT_EQ(readreport(fds[0]), 'S');

    const pid_t second = startcopy(marker, fds[1]);
    EXPECT_EQ(readreport(fds[0]), 'R');
    EXPECT_EQ(exitcode(second), refused);

    // an abnormal end of the first copy frees the marker
    ::kill(first, SIGKILL);
    EXPECT_EQ(exitcode(first), -SIGKILL);

    const pid_t third = startcopy(marker, fds[1]);
    EXPECT_EQ(readreport(fds[0]), 'S');
    ::kill(third, SIGKILL);
    exitcode(third);
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(SingleInstance, MarkerNamedAfterTheProgram)
{
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(qc::instancemarkerpath(), "/run/user/1234/Vorpelkindax.lock");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(qc::instancemarkerpath(), "/tmp/Vorpelkindax-" + std::to_string(::getuid()) + ".lock");
    if (old)
        ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
}

TEST(SingleInstance, NoMarkerPossibleLetsTheProgramStart)
{
    qctest::ScriptedBox box;
    EXPECT_TRUE(qc::singleinstance(box, "/nonexistent-directory/Vorpelkindax.lock"));
    EXPECT_TRUE(box.shown.empty());
}

}  // namespace
