#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "stream/binary_file.h"
#include "stream/mapped_file.h"
#include "support/harness.h"

using namespace qc;
using namespace qctest;
namespace fs = std::filesystem;

namespace {

Bytes pattern(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return b;
}


}  // namespace

TEST(MappedFile, PagesPastTheEndOfAFileCutShortReadAsZerosAndMarkTheMap)
{
    TempDir dir;
    const std::string path = dir.write("m.bin", pattern(5 * 4096 + 100));
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    MappedFile map;
    ASSERT_TRUE(map.map(fd, 5 * 4096 + 100));
    ::close(fd);
    EXPECT_EQ(map.data()[4096], pattern(4097)[4096]);
    EXPECT_FALSE(map.faulted());

    fs::resize_file(path, 4096 + 10);
    // still the file: the page that holds the new end
    EXPECT_EQ(map.data()[4096 + 5], pattern(4096 + 6)[4096 + 5]);
    EXPECT_FALSE(map.faulted());
    // beyond it: zeros and the mark, not SIGBUS
    EXPECT_EQ(map.data()[3 * 4096 + 1], 0);
    EXPECT_TRUE(map.faulted());
    EXPECT_EQ(map.data()[5 * 4096 + 99], 0);

    // a new map of the same slot starts unmarked
    map.unmap();
    fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_TRUE(map.map(fd, 4096 + 10));
    ::close(fd);
    EXPECT_FALSE(map.faulted());
    EXPECT_EQ(map.data()[0], 1);
}

namespace {
void exitseven(int)
{
    ::_exit(7);
}

// Runs body in a child process and returns its wait status.
template <typename Body>
int inchild(Body body)
{
    pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = -1;
    if (child > 0)
        ::waitpid(child, &status, 0);
    return status;
}
}  // namespace

// A SIGBUS for any other address, or sent, goes to the handler that was
// there before the map, or takes the default action.
TEST(MappedFile, ASigbusNotOfAMapGoesOnToTheHandlerBeforeOrTheDefault)
{
    TempDir dir;
    const std::string path = dir.write("m.bin", pattern(100));
    auto mapthenraise = [&](void (*before)(int)) {
        return [&path, before] {
            struct sigaction sa {};
            sa.sa_handler = before;
            sigemptyset(&sa.sa_mask);
            ::sigaction(SIGBUS, &sa, nullptr);
            int fd = ::open(path.c_str(), O_RDONLY);
            MappedFile map;
            if (fd < 0 || !map.map(fd, 100))
                ::_exit(2);
            ::raise(SIGBUS);
        };
    };
    int status = inchild(mapthenraise(exitseven));
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 7);

    status = inchild(mapthenraise(SIG_DFL));
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGBUS);
}

TEST(MappedFile, ReadsThroughTheMapMatchTheWindowAndAShrunkFileFailsAtTheRead)
{
    TempDir dir;
    const Bytes bytes = pattern(300000);
    const std::string path = dir.write("m.bin", bytes);
    BinaryFile file;
    ASSERT_TRUE(file.openexisting(path));
    const std::uint8_t* v = file.view(299990, 10);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(file.mapped());
    EXPECT_EQ(v[9], bytes[299999]);
    std::uint8_t buf[16];
    file.seek(1000);
    ASSERT_EQ(file.read(buf, 16), 16u);
    EXPECT_EQ(buf[15], bytes[1015]);
    EXPECT_EQ(file.view(299995, 10), nullptr);  // past the end, as through the window
    EXPECT_EQ(file.ioresult(), 0);

    fs::resize_file(path, 8192);
    file.seek(200000);
    EXPECT_EQ(file.readbyte(), 0);
    EXPECT_TRUE(file.cutshort());
    EXPECT_EQ(file.ioresult(), BinaryFile::eof_error);
    EXPECT_EQ(file.view(100000, 4), nullptr);
    file.close();
    file.ioresult();
}

TEST(MappedFile, FilesAreMappedUnlessMapsAreTurnedOff)
{
    TempDir dir;
    const std::string path = dir.write("m.bin", pattern(1000));
    {
        BinaryFile file;
        ASSERT_TRUE(file.openexisting(path));
        ASSERT_NE(file.view(10, 4), nullptr);
        EXPECT_TRUE(file.mapped());  // the default
        file.close();
        file.ioresult();
    }
    BinaryFile file;
    file.setmapping(false);
    ASSERT_TRUE(file.openexisting(path));
    ASSERT_NE(file.view(10, 4), nullptr);
    EXPECT_FALSE(file.mapped());
    file.close();
    file.ioresult();
}
