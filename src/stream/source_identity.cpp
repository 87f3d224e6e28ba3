#include "stream/source_identity.h"

#include <sys/stat.h>

namespace qc {

namespace {

SourceIdentity fromstat(const struct stat& st)
{
    SourceIdentity id;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::int64_t>(st.st_size);
    id.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

}  // namespace

SourceIdentity identityof(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? fromstat(st) : SourceIdentity{};
}

SourceIdentity identityof(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? fromstat(st) : SourceIdentity{};
}

}  // namespace qc
