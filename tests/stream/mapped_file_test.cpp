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
#include "support/engine_switches.h"

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

struct MapsOn : qctest::MapsSetting {
    MapsOn() : MapsSetting(true) {}
};

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
    MapsOn on;
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
    qctest::MapsSetting off(false);
    BinaryFile file;
    ASSERT_TRUE(file.openexisting(path));
    ASSERT_NE(file.view(10, 4), nullptr);
    EXPECT_FALSE(file.mapped());
    file.close();
    file.ioresult();
}

namespace {

// Whether this process maps the file at path (the kernel's list of maps).
bool mapsfile(const std::string& path)
{
    const std::string real = fs::canonical(path).string();
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.size() >= real.size() && line.compare(line.size() - real.size(), real.size(), real) == 0)
            return true;
    return false;
}

// A file of holes: large, and no disk.
std::string sparsefile(TempDir& dir, const std::string& name, std::size_t size)
{
    const std::string path = dir.write(name, Bytes{1, 2, 3});
    fs::resize_file(path, size);
    return path;
}

// Maps path whole as a load does, and returns where the map lies.
const std::uint8_t* loadmap(const std::string& path, MappedFile& map)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    const bool mapped = fd >= 0 && map.mapforreading(fd, static_cast<std::size_t>(fs::file_size(path)));
    if (fd >= 0)
        ::close(fd);
    return mapped ? map.data() : nullptr;
}

}  // namespace

// The load's map of a large file stays after the load for the next map of
// the same file, which reads through it; not for another file, a file grown
// beyond it, or once let go.
TEST(KeptMap, TheLoadsMapServesTheNextMapOfTheSameFileOnly)
{
    MapsOn on;
    TempDir dir;
    constexpr std::size_t big = (16u << 20) + 5000;
    const std::string path = sparsefile(dir, "big.bin", big);
    const std::string other = sparsefile(dir, "other.bin", big);
    const std::uint8_t* at = nullptr;
    {
        MappedFile load;
        at = loadmap(path, load);
        ASSERT_NE(at, nullptr);
    }
    EXPECT_TRUE(mapsfile(path));
    {
        MappedFile save;
        EXPECT_EQ(loadmap(path, save), at);
        EXPECT_EQ(save.data()[1], 2);
        MappedFile crc;  // two readers at once share it
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_TRUE(crc.map(fd, big - 100));
        ::close(fd);
        EXPECT_EQ(crc.data(), at);
        EXPECT_EQ(crc.size(), big - 100);
    }
    {
        MappedFile elsewhere;
        EXPECT_NE(loadmap(other, elsewhere), at);
    }
    // the map last let go is kept: the other file's, and the first is gone
    EXPECT_FALSE(mapsfile(path));
    EXPECT_TRUE(mapsfile(other));
    fs::resize_file(other, big + 4096);
    {
        MappedFile grown;
        EXPECT_NE(loadmap(other, grown), nullptr);
        EXPECT_EQ(grown.size(), big + 4096);
        EXPECT_EQ(grown.data()[big + 4000], 0);
        EXPECT_FALSE(grown.faulted());
    }
    MappedFile::forgetkept();
    EXPECT_FALSE(mapsfile(other));

    // a small file's map is not kept
    const std::string small = dir.write("small.bin", pattern(8192));
    {
        MappedFile load;
        ASSERT_NE(loadmap(small, load), nullptr);
    }
    EXPECT_FALSE(mapsfile(small));
}

// A map that met the file cut short is not kept, and a file put in place
// of the kept one under its name (another inode) gets a map of its own.
TEST(KeptMap, NeitherACutShortMapNorAReplacedFileIsReadThroughTheKeptMap)
{
    MapsOn on;
    TempDir dir;
    constexpr std::size_t big = 17u << 20;
    const std::string path = sparsefile(dir, "big.bin", big);
    {
        MappedFile load;
        ASSERT_NE(loadmap(path, load), nullptr);
        fs::resize_file(path, 4096);
        EXPECT_EQ(load.data()[big - 1], 0);
        EXPECT_TRUE(load.faulted());
    }
    EXPECT_FALSE(mapsfile(path));

    fs::resize_file(path, big);
    const std::uint8_t* at = nullptr;
    MappedFile load;
    at = loadmap(path, load);
    ASSERT_NE(at, nullptr);
    load.unmap();
    const std::string replacement = dir.write("new.bin", pattern(100));
    fs::resize_file(replacement, big);
    fs::rename(replacement, path);
    MappedFile save;
    EXPECT_NE(loadmap(path, save), at);
    EXPECT_EQ(save.data()[1], pattern(2)[1]);
    save.unmap();
    MappedFile::forgetkept();
}
