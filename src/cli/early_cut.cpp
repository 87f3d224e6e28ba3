#include "cli/early_cut.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "cutting/fixed.h"

namespace qccli {

namespace {

// Frames the walk records past the first kept one before the run's place
// is judged: the exact plan looks that far at most (the reservoir frames
// before and after the cut, the frames of silence that align the phase).
constexpr std::int64_t lookahead = 64;

// The source's bytes for the plan, through a descriptor of their own: the
// load's file stays the walk's.
class DescriptorBytes : public qc::SourceBytes {
public:
    explicit DescriptorBytes(int fd) : fd_(fd) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        while (n > 0) {
            ssize_t r = ::pread(fd_, buf, n, static_cast<off_t>(offset));
            if (r <= 0)
                return false;
            buf += r;
            n -= static_cast<std::size_t>(r);
            offset += r;
        }
        return true;
    }

private:
    int fd_;
};

}  // namespace

bool EarlyCut::enabled()
{
    // QUILLCUT_NO_EARLY_COPY (set, not empty) turns it off, for comparisons
    static const bool on = [] {
        const char* off = std::getenv("QUILLCUT_NO_EARLY_COPY");
        return off == nullptr || *off == '\0';
    }();
    return on;
}

EarlyCut::EarlyCut(const qc::LoadedFile& f, const qc::EarlyCut& want, std::optional<double> seconds,
                   std::string output)
    : f_(f), want_(want), seconds_(seconds), output_(std::move(output))
{
}

void EarlyCut::step()
{
    const std::int32_t n = f_.framecount;
    if (copy_.started()) {
        // the walk has recorded the frames up to the last one's start
        copy_.advance(f_.framepos[n - 1] - 1);
        return;
    }
    if (tried_ || n < 1)
        return;
    if (seconds_)  // as the cut's seconds become frames, once the rate is known
        want_.startframes = std::max<std::int64_t>(0, qc::roundeven(*seconds_ / f_.secondsperframe));
    std::int64_t first = want_.startframes;
    if (want_.samples.start)
        first = *want_.samples.start / qc::samplesperframe + 2;  // and the delay's frame or two
    if (n < first + lookahead)
        return;
    begin();
}

void EarlyCut::begin()
{
    tried_ = true;
    int fd = ::open(f_.sourcename.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    DescriptorBytes bytes(fd);
    if (std::optional<qc::EarlyPlace> place = qc::earlyplace(f_, want_, bytes))
        copy_.start(fd, static_cast<std::size_t>(f_.filesize), output_, place->sourcefrom, place->outputfrom);
    ::close(fd);
}

}  // namespace qccli
