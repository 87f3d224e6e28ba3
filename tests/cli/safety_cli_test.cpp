// quillcut-cli's outputs where they are not plain new files: standard
// output, an interrupted run, workers whose parent is killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/cli_run.h"
#include "support/harness.h"

using namespace qctest;
namespace fs = std::filesystem;

namespace {

std::string q(const std::string& s)
{
    return "'" + s + "'";
}

int entries(const std::string& dir)
{
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// Starts the CLI with args (an argv), TMPDIR set to tmp; its pid.
pid_t startcli(const std::vector<std::string>& args, const std::string& tmp)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        std::vector<char*> argv;
        std::string cli = QC_CLI_PATH;
        argv.push_back(cli.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

}  // namespace

// -o - writes the audio to standard output; the report goes to standard error.
TEST(CliSafety, DashWritesTheOutputToStandardOutput)
{
    TempDir dir;
    const std::string src = samplepath("tone44-cbr64-tagged.mp3");
    CliResult file = runcli("cut " + q(src) + " -o " + q(dir.path("a.mp3")) + " --start-frames 2");
    ASSERT_EQ(file.status, 0);
    CliResult piped = runcli("cut " + q(src) + " -o - --start-frames 2 --json");
    ASSERT_EQ(piped.status, 0);
    const Bytes expected = readbytes(dir.path("a.mp3"));
    EXPECT_EQ(Bytes(piped.out.begin(), piped.out.end()), expected);
    EXPECT_NE(piped.err.find("\"output\":\"-\""), std::string::npos) << piped.err;
}

// SIGTERM while the output waits for a FIFO's reader: the run ends with
// 128 + 15 and leaves no temporary file behind.
TEST(CliSafety, AnInterruptedRunRemovesItsTemporaryFile)
{
    TempDir dir;
    const std::string fifo = dir.path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir.path("tmp"));
    const pid_t pid = startcli({"cut", samplepath("tone44-cbr128.mp3"), "-o", fifo, "--start-frames", "1"},
                               dir.path("tmp"));
    // the output is complete in the temporary folder before the FIFO blocks
    for (int i = 0; i < 200 && entries(dir.path("tmp")) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(entries(dir.path("tmp")), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 143);
    EXPECT_EQ(entries(dir.path("tmp")), 0);
}

// A worker of --jobs ends with its parent, and removes what it wrote.
TEST(CliSafety, WorkersDieWithTheirParent)
{
    TempDir dir;
    fs::create_directory(dir.path("tmp"));
    std::vector<std::string> args = {"cut", "--jobs", "2"};
    for (const char* name : {"a", "b"}) {
        const std::string fifo = dir.path(std::string(name) + ".fifo");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        fs::copy_file(samplepath("tone44-cbr128.mp3"), dir.path(std::string(name) + ".mp3"));
        args.push_back(dir.path(std::string(name) + ".mp3"));
    }
    args.insert(args.end(), {"--output-dir", dir.path("out"), "--start-frames", "1"});
    // the outputs are FIFOs in the output folder: both workers wait on them
    fs::create_directory(dir.path("out"));
    for (const char* name : {"a", "b"})
        ASSERT_EQ(::mkfifo(dir.path(std::string("out/") + name + ".mp3").c_str(), 0600), 0);
    const pid_t pid = startcli(args, dir.path("tmp"));
    for (int i = 0; i < 200 && entries(dir.path("tmp")) < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(entries(dir.path("tmp")), 2);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    for (int i = 0; i < 200 && entries(dir.path("tmp")) > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(entries(dir.path("tmp")), 0);
}

// A cut into a folder first removes what a killed run left there.
TEST(CliSafety, ACutRemovesTheTemporariesOfKilledRunsInItsFolder)
{
    TempDir dir;
    dir.write(".qc99999999-0badc0de.part", Bytes(10, 1));
    CliResult r = runcli("cut " + q(samplepath("tone44-cbr128.mp3")) + " --output-dir " + q(dir.path("")) +
                         " --start-frames 1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(dir.path(".qc99999999-0badc0de.part")));
    EXPECT_TRUE(fs::exists(dir.path("tone44-cbr128.mp3")));
}
