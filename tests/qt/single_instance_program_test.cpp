// The real window program, started more than once on the offscreen platform:
// a second copy is refused while the first runs, and the marker goes with
// the first copy however it ends.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/harness.h"

namespace {

// Starts quillcut with its own runtime directory; standard error goes to
// errfile. With a file, it is given as the argument, from the directory cwd.
pid_t startprogram(const std::string& runtimedir, const std::string& errfile, const std::string& file = {},
                   const std::string& cwd = {})
{
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtimedir.c_str(), 1);
        // the settings of this run stay in the test's folder
        ::setenv("XDG_CONFIG_HOME", (runtimedir + "config").c_str(), 1);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
            ::_exit(126);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        int fd = ::open(errfile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        if (file.empty())
            ::execl(QC_GUI_PATH, QC_GUI_PATH, static_cast<char*>(nullptr));
        else
            ::execl(QC_GUI_PATH, QC_GUI_PATH, file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// Waits up to the given time for the child to end; its exit code, or -1
// while it still runs.
int waitexit(pid_t pid, std::chrono::seconds limit)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(SingleInstanceProgram, SecondCopyRefusedUntilTheFirstIsKilled)
{
    qctest::TempDir dir;
    const std::string runtime = dir.path("");
    pid_t first = startprogram(runtime, dir.path("first.txt"));
    // the first copy is up once it holds the marker and keeps running
    ASSERT_EQ(waitexit(first, std::chrono::seconds(3)), -1) << slurp(dir.path("first.txt"));

    pid_t second = startprogram(runtime, dir.path("second.txt"));
    EXPECT_EQ(waitexit(second, std::chrono::seconds(60)), 0);
    EXPECT_NE(slurp(dir.path("second.txt")).find("Quillcut: You can run just one instance of this program."),
              std::string::npos);

    ::kill(first, SIGKILL);
    EXPECT_EQ(waitexit(first, std::chrono::seconds(10)), 128 + SIGKILL);

    pid_t third = startprogram(runtime, dir.path("third.txt"));
    EXPECT_EQ(waitexit(third, std::chrono::seconds(3)), -1) << slurp(dir.path("third.txt"));
    ::kill(third, SIGKILL);
    waitexit(third, std::chrono::seconds(10));
}

// Waits up to the given time for a text to appear in a file.
bool appears(const std::string& path, const std::string& text, std::chrono::seconds limit)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (slurp(path).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

TEST(SingleInstanceProgram, ASecondStartWithAFileHandsItToTheRunningWindow)
{
    qctest::TempDir dir;
    const std::string runtime = dir.path("");
    ASSERT_EQ(::mkdir(dir.path("songs").c_str(), 0700), 0);
    using qctest::operator+;
    // 20 bytes after the last frame: the load asks about them, in the window that loads it
    dir.write("songs/song.mp3", qctest::readbytes(QC_SAMPLES_DIR "/tone44-cbr128.mp3") + qctest::filler(20, 'A'));

    pid_t first = startprogram(runtime, dir.path("first.txt"));
    ASSERT_EQ(waitexit(first, std::chrono::seconds(3)), -1) << slurp(dir.path("first.txt"));

    // a name relative to the second start's own working directory
    pid_t second = startprogram(runtime, dir.path("second.txt"), "song.mp3", dir.path("songs"));
    EXPECT_EQ(waitexit(second, std::chrono::seconds(60)), 0);
    EXPECT_EQ(slurp(dir.path("second.txt")).find("one instance"), std::string::npos) << slurp(dir.path("second.txt"));
    EXPECT_TRUE(appears(dir.path("first.txt"), "Data of unknown origin (20 bytes) has been found on the file end",
                        std::chrono::seconds(30)))
        << slurp(dir.path("first.txt"));

    // without a file: the message, as before, and the running copy goes on
    pid_t third = startprogram(runtime, dir.path("third.txt"));
    EXPECT_EQ(waitexit(third, std::chrono::seconds(60)), 0);
    EXPECT_NE(slurp(dir.path("third.txt")).find("You can run just one instance of this program."), std::string::npos);
    EXPECT_EQ(waitexit(first, std::chrono::seconds(1)), -1);

    ::kill(first, SIGKILL);
    waitexit(first, std::chrono::seconds(10));
}

TEST(SingleInstanceProgram, AFileOnTheCommandLineOpensAsOpenWould)
{
    qctest::TempDir dir;
    using qctest::operator+;
    ASSERT_EQ(::mkdir(dir.path("songs").c_str(), 0700), 0);
    dir.write("songs/song.mp3", qctest::readbytes(QC_SAMPLES_DIR "/tone44-cbr128.mp3") + qctest::filler(20, 'A'));

    // found from the working directory, loaded, its question asked
    pid_t run = startprogram(dir.path(""), dir.path("run.txt"), "song.mp3", dir.path("songs"));
    EXPECT_TRUE(appears(dir.path("run.txt"), "Data of unknown origin (20 bytes) has been found on the file end",
                        std::chrono::seconds(30)))
        << slurp(dir.path("run.txt"));
    EXPECT_EQ(slurp(dir.path("run.txt")).find("Error processing file"), std::string::npos);
    ::kill(run, SIGKILL);
    waitexit(run, std::chrono::seconds(10));

    // a missing file: the load's own error box, and the window stays
    pid_t missing = startprogram(dir.path(""), dir.path("missing.txt"), "nothere.mp3", dir.path("songs"));
    EXPECT_TRUE(appears(dir.path("missing.txt"), " Disk or unknown error.", std::chrono::seconds(30)))
        << slurp(dir.path("missing.txt"));
    EXPECT_NE(slurp(dir.path("missing.txt")).find("error: Error processing file: "), std::string::npos);
    EXPECT_EQ(waitexit(missing, std::chrono::seconds(1)), -1);
    ::kill(missing, SIGKILL);
    waitexit(missing, std::chrono::seconds(10));
}
