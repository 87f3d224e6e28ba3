#include "cutting/mapped_copy.h"

#include <cerrno>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>

#include "stream/binary_file.h"
#include "stream/mapped_file.h"

namespace qc {

namespace {

// written per call: large enough that the calls are few, small enough that
// the stretches it covers are made ready just before the kernel reads them
constexpr std::size_t chunk = std::size_t{2} << 20;

// Whether the file lies on a file system whose copy_file_range is only a
// copy through the page cache, never a shared extent or a copy made by a
// server: there the map is the quicker way (by a quarter, measured on
// ext4, even with the pages aligned).
bool copiesthroughcache(int fd)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    return fs.f_type == EXT4_SUPER_MAGIC || fs.f_type == TMPFS_MAGIC;
}

}  // namespace

std::size_t writefrommap(int fd, const std::uint8_t* data, std::size_t n, off_t offset, int& code)
{
    std::size_t done = 0;
    code = 0;
    while (done < n) {
        ssize_t w = ::pwrite(fd, data + done, n - done, offset + static_cast<off_t>(done));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            code = w < 0 ? errno : EFAULT;
            break;
        }
        done += static_cast<std::size_t>(w);
    }
    return done;
}

ssize_t mappedcopyrange(int infd, off_t* inoff, int outfd, off_t* outoff, std::size_t len)
{
    static const long pagesize = ::sysconf(_SC_PAGESIZE);
    const off_t page = pagesize > 0 ? static_cast<off_t>(pagesize) : 4096;
    if (inoff == nullptr || outoff == nullptr || *inoff < 0 || *outoff < 0 ||
        ((*inoff - *outoff) % page == 0 && !copiesthroughcache(outfd)))
        return systemcopyrange(infd, inoff, outfd, outoff, len);

    struct stat st {};
    if (::fstat(infd, &st) != 0)
        return systemcopyrange(infd, inoff, outfd, outoff, len);
    const auto from = static_cast<std::size_t>(*inoff);
    if (st.st_size <= *inoff || len == 0)
        return 0;  // the caller's read says what is missing
    const std::size_t end = from + std::min(len, static_cast<std::size_t>(st.st_size) - from);
    // The whole run through one map, its page tables made ready a stretch
    // at a time (and ahead, on another thread, for a long run): faulting
    // the pages in while the kernel copies from them costs a third more,
    // and a map per window costs its set-up and tear-down each time.
    MappedFile map;
    if (!map.map(infd, end))
        return systemcopyrange(infd, inoff, outfd, outoff, len);
    std::size_t at = from;
    int code = 0;
    while (at < end && code == 0) {
        const std::size_t to = std::min(end, (at / chunk + 1) * chunk);
        map.readyrange(at, to);
        at += writefrommap(outfd, map.data() + at, to - at, *outoff + static_cast<off_t>(at - from), code);
    }
    map.unmap();
    const std::size_t done = at - from;
    if (done == 0 && code != 0 && code != EFAULT) {
        errno = code;
        return -1;
    }
    // what the map could not give is left to the caller's reads
    *inoff += static_cast<off_t>(done);
    *outoff += static_cast<off_t>(done);
    return static_cast<ssize_t>(done);
}

}  // namespace qc
