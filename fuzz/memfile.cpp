#include "memfile.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "check.h"

namespace qcfuzz {

MemFile::MemFile()
{
    fd_ = ::memfd_create("qcfuzz", MFD_CLOEXEC);
    QC_FUZZ_CHECK(fd_ >= 0);
    // the loader refuses a file without write permission
    ::fchmod(fd_, 0644);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemFile::~MemFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

const std::string& MemFile::hold(const std::uint8_t* data, std::size_t size)
{
    QC_FUZZ_CHECK(::ftruncate(fd_, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        QC_FUZZ_CHECK(n > 0);
        done += static_cast<std::size_t>(n);
    }
    return path_;
}

std::int64_t MemFile::size() const
{
    struct stat st {};
    QC_FUZZ_CHECK(::fstat(fd_, &st) == 0);
    return st.st_size;
}

}  // namespace qcfuzz
