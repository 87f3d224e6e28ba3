// Untyped binary file with a record size of one byte, in the manner of the
// classic Pascal file layer: nothing throws, a failed operation leaves an
// error code pending, and ioresult() returns that code and clears it.
// While a code is pending, further reads, writes and seeks are skipped, so a
// failure deep inside a run of unchecked reads surfaces at the next query.
//
// Reads are served from a window (64 KiB after a jump, growing to 256 KiB
// while the reads go on through the file) so that the scanner's two-byte probes
// and single-byte searches do not cost a system call each, and the scanner
// can look at a frame's header and side information where they lie in the
// window (view) instead of copying them out. Unless mapping is turned off
// (setmapping), the first view maps the file instead: the walk then
// reads the page cache itself and nothing of the file is copied. A file cut
// short under the map reads as zeros up to the next look, which then finds
// the end through the window, as a read there always has; a load that got
// to its end regardless learns it from cutshort(). Writes are gathered in
// 64 KiB. A read that runs past the end of the file fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "stream/mapped_file.h"

namespace qc {

class BinaryFile {
public:
    // read window: a fill of 256 KiB stays in the processor's cache while
    // the walk reads it (1 MiB measured a fifth slower)
    static constexpr std::size_t windowsize = 1 << 18;
    static constexpr std::size_t gathersize = 65536;    // gathered writes

    BinaryFile();
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing file with read and write access. A file whose write
    // permission bits are all clear counts as read-only and is refused, even
    // for root, like a file with the read-only attribute elsewhere.
    bool openexisting(const std::string& path);
    // Opens an existing regular file for reading only: what a source needs,
    // so a read-only file, a file of another user that may be read, or a
    // read-only mount can be loaded.
    bool openforreading(const std::string& path);
    // Creates the file, or truncates an existing one, for reading and
    // writing; exclusive: only a new file (an existing name fails, EEXIST),
    // made with the permission bits mode (less the umask).
    bool create(const std::string& path, bool exclusive = false, unsigned mode = 0666);
    // Writes out anything gathered and closes; an error here stays pending.
    void close();
    bool isopen() const { return fd_ >= 0; }
    // Whether views map the file (on by default; set before the first view).
    // The map is the quicker read (a warm load of 209 MB measured 0.80 x a
    // plain read of the file through the map, 1.24 x through the window);
    // the window is the other path, which must end a load exactly alike.
    void setmapping(bool on) { mapping_ = on; }
    // The system's descriptor while open, else -1.
    int handle() const { return fd_; }

    // Current size in bytes, including data gathered but not yet written.
    std::int64_t size();
    // Zero-based positioning; seeking beyond the end is allowed (as in Pascal),
    // the next read there fails.
    void seek(std::int64_t offset);
    std::int64_t position() const { return pos_; }

    // Reads exactly n bytes; fewer available is a failure (code 100).
    // Returns the number of bytes placed into buf.
    std::size_t read(void* buf, std::size_t n);
    // Reads one byte; 0 on failure.
    std::uint8_t readbyte();
    // The n bytes at offset where they lie in the read window (filled from
    // offset when they are not there), without copying them, and the
    // position moved past them as a read would. nullptr when the bytes are
    // not all in the file (or n is above 64 KiB): nothing is then made
    // pending that the same read would not make pending, so the caller can
    // fall back to seek and read for the exact outcome. The pointer is good
    // until the next operation on the file.
    const std::uint8_t* view(std::int64_t offset, std::size_t n)
    {
        // the common case, inline: the bytes lie in what is at hand (the
        // map, or the window) and nothing stands in the way
        if (offset >= lookstart_ && n <= firstfill &&
            offset + static_cast<std::int64_t>(n) <= lookend_ && error_ == 0 && !map_.faulted()) {
            pos_ = offset + static_cast<std::int64_t>(n);
            return lookbase_ + (offset - lookstart_);
        }
        return viewelsewhere(offset, n);
    }
    // Says that the bytes at offset will be looked at soon (a frame header
    // some frames ahead of a walk through a map): their page is made ready
    // and they are fetched into the cache meanwhile, so that the walk, whose
    // every step waits on the one before, does not wait on memory.
    void hint(std::int64_t offset)
    {
        if (map_.mapped() && offset >= 0 && static_cast<std::uint64_t>(offset) + 64 <= map_.size()) {
            map_.readyahead(static_cast<std::size_t>(offset) + 64);
            __builtin_prefetch(map_.data() + offset);
            __builtin_prefetch(map_.data() + offset + 33);
        }
    }
    std::size_t write(const void* buf, std::size_t n);
    // Writes out gathered data and asks the system to put it on the disk.
    bool flush();
    // Writes out gathered data and ends the file at the position (Pascal's
    // Truncate): for a file written over instead of created empty.
    bool truncatehere();

    // Copies n bytes of source, from offset on, to this file's position
    // inside the kernel (copy_file_range through copier), and moves this
    // file's position past what was copied. Returns the bytes copied: fewer
    // than n when the call was refused (another file system, an old kernel,
    // a file system that cannot) or copied nothing (the source may have
    // shrunk): the caller moves the rest itself, through read and write,
    // which fail as they always do. A failure that a write would meet as
    // well (a full disk) is made pending in this file and returns -1.
    using RangeCopier = std::function<ssize_t(int infd, off_t* inoff, int outfd, off_t* outoff,
                                              std::size_t len)>;
    std::int64_t copyfrom(BinaryFile& source, std::int64_t offset, std::int64_t n,
                          const RangeCopier& copier);

    // True when the file is read through a map and has become shorter than
    // the map (a page past its end was touched, or its size says so): bytes
    // read from the map may then be zeros instead of the file's. Asked where
    // a reader takes what it read for damage, and at the end of a load.
    bool cutshort() const;
    // Whether reads come from a map of the file now.
    bool mapped() const { return map_.mapped(); }

    // Returns the pending error code (0 = none) and clears it.
    int ioresult();
    // True while a code is pending (does not clear it).
    bool failed() const { return error_ != 0; }
    // The pending code, left pending.
    int peekerror() const { return error_; }

    static constexpr int eof_error = 100;  // read past the end of the file
    static constexpr int notopen_error = 103;

private:
    // Writes out gathered data, then does then (false: errno says why);
    // the failure of either is made pending.
    bool writtenout(const std::function<bool()>& then);
    void fail(int code);
    void adopt(int fd);
    bool flushwrites();
    bool fillwindow(std::int64_t at);
    const std::uint8_t* viewelsewhere(std::int64_t offset, std::size_t n);
    // what view serves inline: nothing, the map or the window
    void lookatnothing() { lookstart_ = 0; lookend_ = -1; }
    void lookatmap();
    void lookatwindow();
    // The map, when it holds [offset, offset + n) and has not faulted.
    bool inmap(std::int64_t offset, std::size_t n) const
    {
        return map_.mapped() && offset >= 0 &&
               static_cast<std::uint64_t>(offset) + n <= map_.size() && !map_.faulted();
    }
    void trymap();

    int fd_ = -1;
    int error_ = 0;
    std::int64_t pos_ = 0;
    // read window: bytes [winstart_, winstart_ + winlen_) of the file
    std::vector<std::uint8_t> window_;
    std::int64_t winstart_ = 0;
    std::size_t winlen_ = 0;
    static constexpr std::size_t firstfill = 65536;
    std::size_t fillsize_ = firstfill;  // what the last fill asked for
    // gathered writes: bytes [wstart_, wstart_ + wbuf_.size())
    std::vector<std::uint8_t> wbuf_;
    std::int64_t wstart_ = 0;
    MappedFile map_;
    bool mapping_ = true;
    bool maptried_ = false;
    // bytes [lookstart_, lookend_) of the file lie at lookbase_
    const std::uint8_t* lookbase_ = nullptr;
    std::int64_t lookstart_ = 0;
    std::int64_t lookend_ = -1;
};

// The system's copy_file_range, the default copier of copyfrom.
ssize_t systemcopyrange(int infd, off_t* inoff, int outfd, off_t* outoff, std::size_t len);

// Delete and rename by name; false on failure (callers decide whether to look).
bool deletefile(const std::string& path);
bool renamefile(const std::string& from, const std::string& to);
bool fileexists(const std::string& path);

}  // namespace qc
