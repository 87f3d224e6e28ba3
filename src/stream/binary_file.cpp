#include "stream/binary_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qc {

BinaryFile::BinaryFile() = default;

BinaryFile::~BinaryFile()
{
    if (fd_ >= 0) {
        flushwrites();
        ::close(fd_);
    }
}

void BinaryFile::fail(int code)
{
    if (error_ == 0)
        error_ = code != 0 ? code : EIO;
}

// Takes fd as the open file, read from its start to its end: a larger
// read-ahead keeps the disk busy while the frames are walked.
void BinaryFile::adopt(int fd)
{
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    pos_ = 0;
    winlen_ = 0;
    lookatnothing();
    wbuf_.clear();
    map_.unmap();
    maptried_ = false;
}

bool BinaryFile::openexisting(const std::string& path)
{
    if (fd_ >= 0)
        close();
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ::close(fd);
        fail(EACCES);
        return false;
    }
    adopt(fd);
    return true;
}

bool BinaryFile::openforreading(const std::string& path)
{
    if (fd_ >= 0)
        close();
    // not blocking: a FIFO named as a source is refused, not waited on
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail(S_ISDIR(st.st_mode) ? EISDIR : EACCES);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    adopt(fd);
    return true;
}

bool BinaryFile::create(const std::string& path, bool exclusive, unsigned mode)
{
    if (fd_ >= 0)
        close();
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | (exclusive ? O_EXCL : O_TRUNC) | O_CLOEXEC,
                    static_cast<mode_t>(mode));
    if (fd < 0) {
        fail(errno);
        return false;
    }
    fd_ = fd;
    pos_ = 0;
    winlen_ = 0;
    lookatnothing();
    wbuf_.clear();
    map_.unmap();
    maptried_ = false;
    return true;
}

void BinaryFile::close()
{
    if (fd_ < 0) {
        fail(notopen_error);
        return;
    }
    if (!flushwrites())
        fail(errno);
    if (::close(fd_) != 0)
        fail(errno);
    map_.unmap();
    maptried_ = false;
    fd_ = -1;
    winlen_ = 0;
    lookatnothing();
    wbuf_.clear();
}

bool BinaryFile::flushwrites()
{
    std::size_t done = 0;
    while (done < wbuf_.size()) {
        ssize_t n = ::pwrite(fd_, wbuf_.data() + done, wbuf_.size() - done,
                             wstart_ + static_cast<std::int64_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            wbuf_.clear();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    wbuf_.clear();
    return true;
}

std::int64_t BinaryFile::size()
{
    if (fd_ < 0) {
        fail(notopen_error);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        fail(errno);
        return -1;
    }
    std::int64_t s = st.st_size;
    if (!wbuf_.empty())
        s = std::max<std::int64_t>(s, wstart_ + static_cast<std::int64_t>(wbuf_.size()));
    return s;
}

void BinaryFile::seek(std::int64_t offset)
{
    if (error_ != 0)
        return;
    if (fd_ < 0) {
        fail(notopen_error);
        return;
    }
    if (offset < 0) {
        fail(EINVAL);
        return;
    }
    pos_ = offset;
}

bool BinaryFile::fillwindow(std::int64_t at)
{
    if (window_.size() != windowsize)
        window_.resize(windowsize);
    // A fill that goes on about where the last one ended (a walk through the file)
    // takes twice as much as the last, up to the whole window; any other
    // fill starts small again, so that a jump to somewhere else reads no
    // more than it must, and bytes read ahead stay few.
    const std::int64_t lastend = winstart_ + static_cast<std::int64_t>(winlen_);
    // (a frame's start may lie a little beyond the last byte read)
    const bool onward = winlen_ > 0 && at >= lastend - 64 && at <= lastend + 4096;
    fillsize_ = onward ? std::min(windowsize, fillsize_ * 2) : firstfill;
    winstart_ = at;
    winlen_ = 0;
    // (through a map, view serves the map inline, not the window)
    if (!map_.mapped())
        lookatnothing();
    while (winlen_ < fillsize_) {
        ssize_t n = ::pread(fd_, window_.data() + winlen_, fillsize_ - winlen_,
                            at + static_cast<std::int64_t>(winlen_));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fail(errno);
            winlen_ = 0;
            lookatnothing();
            return false;
        }
        if (n == 0)
            break;
        winlen_ += static_cast<std::size_t>(n);
    }
    if (!map_.mapped())
        lookatwindow();
    return true;
}

void BinaryFile::trymap()
{
    maptried_ = true;
    struct stat st {};
    if (mapping_ && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        map_.map(fd_, static_cast<std::size_t>(st.st_size));
}

bool BinaryFile::cutshort() const
{
    if (!map_.mapped())
        return false;
    if (map_.faulted())
        return true;
    // the page that holds the new end reads as zeros past it, without a fault
    struct stat st {};
    return ::fstat(fd_, &st) == 0 && static_cast<std::uint64_t>(st.st_size) < map_.size();
}

std::size_t BinaryFile::read(void* buf, std::size_t n)
{
    if (error_ == 0 && wbuf_.empty() && inmap(pos_, n)) {
        std::memcpy(buf, map_.data() + pos_, n);
        // bytes copied from a page that turned out to be past the end are
        // not the file's: the window's read finds out what is there
        if (!map_.faulted()) {
            pos_ += static_cast<std::int64_t>(n);
            return n;
        }
    }
    // the common case: a small read inside the current window
    if (error_ == 0 && wbuf_.empty() && winlen_ > 0 && pos_ >= winstart_ &&
        pos_ + static_cast<std::int64_t>(n) <= winstart_ + static_cast<std::int64_t>(winlen_)) {
        std::memcpy(buf, window_.data() + (pos_ - winstart_), n);
        pos_ += static_cast<std::int64_t>(n);
        return n;
    }
    if (error_ != 0)
        return 0;
    if (fd_ < 0) {
        fail(notopen_error);
        return 0;
    }
    if (!wbuf_.empty() && !flushwrites()) {
        fail(errno);
        return 0;
    }
    auto* out = static_cast<std::uint8_t*>(buf);
    std::size_t got = 0;
    while (got < n) {
        std::int64_t at = pos_;
        bool inwindow = winlen_ > 0 && at >= winstart_ &&
                        at < winstart_ + static_cast<std::int64_t>(winlen_);
        if (!inwindow) {
            // Large reads bypass the window.
            if (n - got >= firstfill) {
                ssize_t r = ::pread(fd_, out + got, n - got, at);
                if (r < 0 && errno == EINTR)
                    continue;
                if (r < 0) {
                    fail(errno);
                    return got;
                }
                if (r == 0) {
                    fail(eof_error);
                    return got;
                }
                got += static_cast<std::size_t>(r);
                pos_ += r;
                continue;
            }
            if (!fillwindow(at))
                return got;
            if (winlen_ == 0) {
                fail(eof_error);
                return got;
            }
        }
        std::size_t off = static_cast<std::size_t>(at - winstart_);
        std::size_t take = std::min(n - got, winlen_ - off);
        std::memcpy(out + got, window_.data() + off, take);
        got += take;
        pos_ += static_cast<std::int64_t>(take);
        if (got < n && winlen_ < fillsize_) {
            // The window ended at the end of the file: a short read. Look
            // again in case the file grew since the window was filled.
            if (!fillwindow(pos_))
                return got;
            if (winlen_ == 0) {
                fail(eof_error);
                return got;
            }
        }
    }
    return got;
}

const std::uint8_t* BinaryFile::viewelsewhere(std::int64_t offset, std::size_t n)
{
    // gathered writes and pending failures are the read path's business
    if (error_ != 0 || fd_ < 0 || !wbuf_.empty() || offset < 0 || n > firstfill)
        return nullptr;
    const auto end = offset + static_cast<std::int64_t>(n);
    if (!maptried_) {
        trymap();
        if (map_.mapped())
            lookatmap();
    }
    if (inmap(offset, n)) {
        pos_ = end;
        return map_.data() + offset;
    }
    if (winlen_ == 0 || offset < winstart_ || end > winstart_ + static_cast<std::int64_t>(winlen_)) {
        // a failed pread stays pending, as it would for the read
        if (!fillwindow(offset) || static_cast<std::int64_t>(winlen_) < static_cast<std::int64_t>(n))
            return nullptr;
    }
    pos_ = end;
    return window_.data() + (offset - winstart_);
}

void BinaryFile::lookatmap()
{
    lookbase_ = map_.data();
    lookstart_ = 0;
    lookend_ = static_cast<std::int64_t>(map_.size());
}

void BinaryFile::lookatwindow()
{
    lookbase_ = window_.data();
    lookstart_ = winstart_;
    lookend_ = winstart_ + static_cast<std::int64_t>(winlen_);
}

std::uint8_t BinaryFile::readbyte()
{
    std::uint8_t b = 0;
    if (error_ == 0 && wbuf_.empty() && inmap(pos_, 1)) {
        b = map_.data()[pos_];
        if (!map_.faulted()) {
            ++pos_;
            return b;
        }
    }
    if (error_ == 0 && fd_ >= 0 && winlen_ > 0 && wbuf_.empty() && pos_ >= winstart_ &&
        pos_ < winstart_ + static_cast<std::int64_t>(winlen_)) {
        b = window_[static_cast<std::size_t>(pos_ - winstart_)];
        ++pos_;
        return b;
    }
    if (read(&b, 1) != 1)
        return 0;
    return b;
}

std::size_t BinaryFile::write(const void* buf, std::size_t n)
{
    if (error_ != 0)
        return 0;
    if (fd_ < 0) {
        fail(notopen_error);
        return 0;
    }
    winlen_ = 0;  // the read window may no longer match the file
    lookatnothing();
    const auto* in = static_cast<const std::uint8_t*>(buf);
    if (!wbuf_.empty() && wstart_ + static_cast<std::int64_t>(wbuf_.size()) != pos_) {
        if (!flushwrites()) {
            fail(errno);
            return 0;
        }
    }
    if (wbuf_.empty())
        wstart_ = pos_;
    // Only what is smaller than the gathering buffer is gathered: a block
    // of its full size goes straight to the file, without a copy.
    if (wbuf_.size() + n < gathersize) {
        wbuf_.insert(wbuf_.end(), in, in + n);
        pos_ += static_cast<std::int64_t>(n);
        return n;
    }
    if (!flushwrites()) {
        fail(errno);
        return 0;
    }
    std::size_t done = 0;
    while (done < n) {
        ssize_t w = ::pwrite(fd_, in + done, n - done, pos_);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            fail(w == 0 ? ENOSPC : errno);
            return done;
        }
        done += static_cast<std::size_t>(w);
        pos_ += w;
    }
    return done;
}

bool BinaryFile::flush()
{
    return writtenout([this] { return ::fsync(fd_) == 0; });
}

bool BinaryFile::truncatehere()
{
    return writtenout([this] { return ::ftruncate(fd_, static_cast<off_t>(pos_)) == 0; });
}

bool BinaryFile::writtenout(const std::function<bool()>& then)
{
    if (error_ != 0)
        return false;
    if (fd_ < 0) {
        fail(notopen_error);
        return false;
    }
    if (!flushwrites() || !then()) {
        fail(errno);
        return false;
    }
    return true;
}

namespace {
// The answers of copy_file_range that say "not here", not "it went wrong":
// another file system, a kernel or file system without the call, a file
// the call cannot take. The copy then goes through read and write.
bool refused(int err)
{
    switch (err) {
    case EXDEV:
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
    case EBADF:
    case ETXTBSY:
    case EPERM:
        return true;
    default:
        return false;
    }
}
}  // namespace

std::int64_t BinaryFile::copyfrom(BinaryFile& source, std::int64_t offset, std::int64_t n,
                                  const RangeCopier& copier)
{
    if (error_ != 0)
        return -1;
    if (fd_ < 0) {
        fail(notopen_error);
        return -1;
    }
    if (source.fd_ < 0 || source.error_ != 0 || offset < 0 || n <= 0 || !copier)
        return 0;
    // A source already shorter than the stretch is the read path's failure
    // to report, before anything of the stretch is written.
    struct stat st {};
    if (::fstat(source.fd_, &st) != 0 || st.st_size < offset + n)
        return 0;
    if (!wbuf_.empty() && !flushwrites()) {
        fail(errno);
        return -1;
    }
    winlen_ = 0;  // the read window may no longer match the file
    lookatnothing();
    constexpr std::int64_t maxcall = std::int64_t{1} << 30;
    std::int64_t done = 0;
    while (done < n) {
        off_t in = static_cast<off_t>(offset + done);
        off_t out = static_cast<off_t>(pos_);
        ssize_t r = copier(source.fd_, &in, fd_, &out,
                           static_cast<std::size_t>(std::min(n - done, maxcall)));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && !refused(errno)) {
            fail(errno);
            return -1;
        }
        // Refused, or nothing copied: the end of the source came early, or
        // the file system copies nothing this way. The read of the rest
        // tells which.
        if (r <= 0)
            break;
        done += r;
        pos_ += r;
    }
    source.pos_ = offset + done;
    return done;
}

ssize_t systemcopyrange(int infd, off_t* inoff, int outfd, off_t* outoff, std::size_t len)
{
    return ::copy_file_range(infd, inoff, outfd, outoff, len, 0);
}

int BinaryFile::ioresult()
{
    int e = error_;
    error_ = 0;
    return e;
}

bool deletefile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool renamefile(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool fileexists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace qc
