#include "cutting/early_copy.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cutting/mapped_copy.h"

namespace qc {

namespace {

// copied per call, once the walk has passed it: large enough that the
// calls are few, small enough to stay well behind the walk's ready pages
constexpr std::int64_t stretch = std::int64_t{2} << 20;
// the pages let go at a time behind the copy: each call stops the copy's
// processor for a flush of its address translations
constexpr std::int64_t releasestep = std::int64_t{8} << 20;

bool samefile(int fd, dev_t dev, ino_t ino)
{
    struct stat st {};
    return fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == dev && st.st_ino == ino;
}

}  // namespace

EarlyCopy::~EarlyCopy()
{
    cancel();
    if (outfd_ >= 0)
        ::close(outfd_);
}

bool EarlyCopy::start(int sourcefd, std::size_t size, const std::string& output, std::int64_t from,
                      std::int64_t to)
{
    if (started() || from < 0 || to < 0 || static_cast<std::uint64_t>(from) >= size)
        return false;
    struct stat in {}, out {};
    if (::fstat(sourcefd, &in) != 0 || !map_.mapkept(sourcefd, size))
        return false;
    outfd_ = ::open(output.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (outfd_ < 0 || ::fstat(outfd_, &out) != 0 || !S_ISREG(out.st_mode)) {
        map_.unmap();
        return false;
    }
    sourcedev_ = in.st_dev;
    sourceino_ = in.st_ino;
    outdev_ = out.st_dev;
    outino_ = out.st_ino;
    from_ = at_ = from;
    to_ = to;
    thread_ = std::thread([this] { run(); });
    return true;
}

void EarlyCopy::advance(std::int64_t limit)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (limit <= limit_)
        return;
    limit_ = limit;
    // the copier sleeps until a whole stretch is there
    if (limit_ >= (at_ / stretch + 1) * stretch)
        wake_.notify_one();
}

std::int64_t EarlyCopy::goal() const
{
    const auto size = static_cast<std::int64_t>(map_.size());
    return end_ >= 0 ? std::min(end_, size) : size;
}

void EarlyCopy::run()
{
    const auto size = static_cast<std::int64_t>(map_.size());
    std::unique_lock<std::mutex> hold(lock_);
    while (!stop_ && at_ < goal()) {
        // a whole stretch at a time while the walk goes on; the rest once
        // finish says where to stop
        const std::int64_t stretchend = std::min(size, (at_ / stretch + 1) * stretch);
        const std::int64_t to = std::min({stretchend, goal(), limit_});
        if (to <= at_ || (end_ < 0 && to < stretchend)) {
            wake_.wait(hold);
            continue;
        }
        const std::int64_t at = at_;
        hold.unlock();
        int code = 0;
        const std::size_t done = writefrommap(outfd_, map_.data() + at, static_cast<std::size_t>(to - at),
                                              static_cast<off_t>(to_ + (at - from_)), code);
        hold.lock();
        at_ = at + static_cast<std::int64_t>(done);
        progress_.notify_all();
        if (code != 0)
            break;  // the save writes the rest, and meets the failure itself
    }
    finished_ = true;
    progress_.notify_all();
}

void EarlyCopy::bound(std::int64_t end)
{
    std::lock_guard<std::mutex> hold(lock_);
    endat(end);
}

void EarlyCopy::endat(std::int64_t end)
{
    // the first word on the end stands: the load is done by then
    if (end_ < 0) {
        end_ = std::max(end, from_);
        limit_ = std::max(limit_, end_);
        wake_.notify_one();
    }
}

EarlyCopy::Stretch EarlyCopy::finish(std::int64_t end)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (!started() && !finished_)
        return {};
    endat(end);
    if (!releasing_) {
        releasing_ = true;
        releasebehind(hold);
    }
    progress_.wait(hold, [this] { return finished_; });
    // zeros read in place of a vanished end are not the file's
    if (map_.faulted())
        return {};
    return {from_, to_, std::max<std::int64_t>(0, std::min(at_, end_) - from_)};
}

void EarlyCopy::releasebehind(std::unique_lock<std::mutex>& hold)
{
    // Only pages no one reads again go: the stretch itself, which the save
    // takes as copied, behind the other pass. A page that is read after
    // all (a save that copies the rest itself) is faulted in again.
    static const std::int64_t page = ::sysconf(_SC_PAGESIZE) > 0 ? ::sysconf(_SC_PAGESIZE) : 4096;
    std::int64_t released = (from_ + page - 1) / page * page;
    for (;;) {
        const bool last = finished_;
        const std::int64_t upto = std::min({at_, end_, reader_}) / page * page;
        if (upto - released >= releasestep || (last && upto > released)) {
            hold.unlock();
            ::madvise(const_cast<std::uint8_t*>(map_.data()) + released, static_cast<std::size_t>(upto - released),
                      MADV_DONTNEED);
            hold.lock();
            released = upto;
            continue;  // the copy may have gone on, or finished, meanwhile
        }
        if (last)
            return;
        progress_.wait(hold);
    }
}

void EarlyCopy::expectreader()
{
    std::lock_guard<std::mutex> hold(lock_);
    reader_ = from_;
}

void EarlyCopy::readerpassed(std::int64_t offset)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (offset > reader_) {
        reader_ = offset;
        progress_.notify_all();
    }
}

bool EarlyCopy::writes(int fd) const
{
    return outfd_ >= 0 && samefile(fd, outdev_, outino_);
}

bool EarlyCopy::reads(int fd) const
{
    return map_.mapped() && samefile(fd, sourcedev_, sourceino_);
}

bool EarlyCopy::writes(const std::string& path) const
{
    struct stat st {};
    return outfd_ >= 0 && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == outdev_ &&
           st.st_ino == outino_;
}

void EarlyCopy::cancel()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
        wake_.notify_one();
    }
    if (thread_.joinable())
        thread_.join();
}

namespace {

// The source piece that starts the copy's stretch at its place, given the
// pieces' sources (zero-based, -1 for bytes made by the save) and sizes.
template <typename Each>
void settlepieces(EarlyCopy& early, std::int64_t minimum, Each each)
{
    std::int64_t out = 0;
    bool bounded = false;
    each([&](std::int64_t from, std::int64_t size) {
        if (!bounded && from >= 0 && size >= minimum && early.startsat(from, out)) {
            early.bound(from + size);
            bounded = true;
        }
        out += size;
    });
    if (!bounded)
        early.cancel();
}

}  // namespace

void settle(EarlyCopy& early, const CopyPlan& plan, std::int64_t minimum)
{
    settlepieces(early, minimum, [&](auto piece) {
        for (const Piece& p : plan.pieces)
            piece(p.from - 1, p.size());
    });
}

void settle(EarlyCopy& early, const OutputPlan& plan, std::int64_t minimum)
{
    settlepieces(early, minimum, [&](auto piece) {
        for (const OutPiece& p : plan.pieces)
            piece(p.literal < 0 ? p.source.from - 1 : -1, plan.size(p));
    });
}

OutputOpen openoutput(BinaryFile& output, const std::string& target, const EarlyCopy* early)
{
    if (early != nullptr && early->started() && early->writes(target)) {
        if (output.openexisting(target) && early->writes(output.handle()))
            return OutputOpen::Adopted;
        output.close();
        output.ioresult();
        ::unlink(target.c_str());
    }
    return output.create(target) ? OutputOpen::Created : OutputOpen::Failed;
}

BinaryFile::RangeCopier earlycopier(EarlyCopy& early, BinaryFile::RangeCopier next)
{
    return [&early, next = std::move(next)](int infd, off_t* inoff, int outfd, off_t* outoff,
                                            std::size_t len) -> ssize_t {
        // (a long piece elsewhere, a large tag, is none of the copy's business)
        if (inoff != nullptr && outoff != nullptr && early.started() && early.startsat(*inoff, *outoff) &&
            early.writes(outfd) && early.reads(infd)) {
            const EarlyCopy::Stretch s = early.finish(*inoff + static_cast<std::int64_t>(len));
            if (s.bytes > 0) {
                const std::int64_t n = std::min(static_cast<std::int64_t>(len), s.bytes);
                *inoff += static_cast<off_t>(n);
                *outoff += static_cast<off_t>(n);
                return static_cast<ssize_t>(n);
            }
        }
        return next(infd, inoff, outfd, outoff, len);
    };
}

}  // namespace qc
