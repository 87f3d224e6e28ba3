#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <csignal>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
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

// Waits until a later start has connected to the listener, then takes its hand-over.
std::optional<std::string> takeone(qc::HandOverListener& l, int waitms = 5000)
{
    pollfd p{l.fd(), POLLIN, 0};
    if (::poll(&p, 1, waitms) != 1)
        return std::nullopt;
    return l.receive(1000);
}

TEST(HandOver, TheRunningCopyGetsTheNameAndConfirmsIt)
{
    qctest::TempDir dir;
    const std::string socket = qc::handoverpath(dir.path("Vorpelkindax.lock"));
    EXPECT_EQ(socket, dir.path("Vorpelkindax.socket"));
    qc::HandOverListener l;
    ASSERT_TRUE(l.listen(socket));

    for (const std::string& name : {std::string("/music/a song, with blanks.mp3"), std::string("/m/\xE9t\xE9.mp3"), std::string()}) {
        bool confirmed = false;
        std::thread later([&] { confirmed = qc::handover(socket, name); });
        EXPECT_EQ(takeone(l), name);
        later.join();
        EXPECT_TRUE(confirmed) << name;
    }
}

TEST(HandOver, NothingListeningOrAStaleSocket)
{
    qctest::TempDir dir;
    const std::string socket = dir.path("Vorpelkindax.socket");
    EXPECT_FALSE(qc::handover(socket, "/a.mp3", 500));

    // a copy that ended abnormally left its socket behind: the next copy
    // takes the place
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", socket.c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ::close(fd);
    }
    EXPECT_FALSE(qc::handover(socket, "/a.mp3", 500));
    qc::HandOverListener second;
    EXPECT_TRUE(second.listen(socket));

    // a caller that sends half a name, or nothing, is dropped without an answer
    for (const char* partial : {"/half", ""}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", socket.c_str());
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ASSERT_EQ(::write(fd, partial, std::strlen(partial)), static_cast<ssize_t>(std::strlen(partial)));
        EXPECT_EQ(takeone(second, 1000), std::nullopt) << partial;
        ::close(fd);
    }
    // a third cannot take the place of a copy that answers there
    qc::HandOverListener third;
    EXPECT_FALSE(third.listen(socket));
    // a name too long for any file system is not sent
    EXPECT_FALSE(qc::handover(socket, "/" + std::string(5000, 'a'), 500));
}

TEST(HandOver, ALaterStartHandsItsFileOverAndEndsWithoutABox)
{
    qctest::TempDir dir;
    const std::string marker = dir.path("Vorpelkindax.lock");
    // this process is the running copy: it holds the marker and listens
    qctest::ScriptedBox mine;
    ASSERT_TRUE(qc::singleinstance(mine, marker));
    qc::HandOverListener l;
    ASSERT_TRUE(l.listen(qc::handoverpath(marker)));

    qctest::ScriptedBox withfile;
    bool started = true;
    std::thread later([&] { started = qc::singleinstance(withfile, marker, "/music/song.mp3"); });
    EXPECT_EQ(takeone(l), "/music/song.mp3");
    later.join();
    EXPECT_FALSE(started);
    EXPECT_TRUE(withfile.shown.empty());

    // without a file: the running window is raised, and the message explains
    qctest::ScriptedBox bare;
    bare.answerall(ui::idok);
    std::thread again([&] { started = qc::singleinstance(bare, marker); });
    EXPECT_EQ(takeone(l), "");
    again.join();
    EXPECT_FALSE(started);
    ASSERT_EQ(bare.shown.size(), 1u);
    EXPECT_EQ(bare.shown[0].text, qc::instancemessage);

    // a running copy that takes no hand-over: the file cannot go anywhere,
    // and the message says why nothing opens
    qctest::TempDir other;
    const std::string othermarker = other.path("Vorpelkindax.lock");
    ASSERT_TRUE(qc::singleinstance(mine, othermarker));
    qctest::ScriptedBox lost;
    lost.answerall(ui::idok);
    EXPECT_FALSE(qc::singleinstance(lost, othermarker, "/music/song.mp3"));
    ASSERT_EQ(lost.shown.size(), 1u);
    EXPECT_EQ(lost.shown[0].text, qc::instancemessage);
}

}  // namespace
