#include "cutting/save.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "cutting/replacement.h"
#include "stream/paths.h"

namespace qc {

namespace fs = std::filesystem;

namespace {

bool writebytes(BinaryFile& output, const std::vector<std::uint8_t>& bytes)
{
    return bytes.empty() || (output.write(bytes.data(), bytes.size()) == bytes.size() && !output.failed());
}

std::int64_t madetagbytes(const SaveRequest& request)
{
    return static_cast<std::int64_t>(request.headtag.size() + request.footertag.size());
}

void closequietly(BinaryFile& file)
{
    if (file.isopen())
        file.close();
    file.ioresult();
}

// The exact output into out: planned from the frames' side information,
// its tag frame completed with the CRC of the audio it is followed by.
SaveReport exactcopy(const LoadedFile& f, const SaveRequest& request, const std::string& out, bool flush,
                     mode_t mode, BinaryFile& output, std::span<std::uint8_t> buffer, const SaveSeams& seams)
{
    const std::string& from = f.sourcename;
    BinaryFile source;
    if (!output.create(out, true, mode))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Create);
    if (!source.openforreading(from))
        return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Open);
    if (source.size() != f.filesize)
        return savefailure(Cause::SourceChanged, Blame::Source, 0, from, Step::Read);
    FileBytes reader(source);
    ExactResult planned = makeexactplan(f, request.choices.keep, request.samples,
                                        {request.choices.cuts[0], request.choices.cuts[1]}, reader);
    if (!planned.plan) {
        if (planned.refusal == Cause::Disk)
            return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Read);
        if (planned.refusal == Cause::FrameSize)
            return savefailure(Cause::FrameSize, Blame::Source, 0, from, Step::Read);
        return savefailure(Cause::NothingKept, Blame::Nobody, 0, from);
    }
    ExactPlan& plan = *planned.plan;
    if (!writebytes(output, request.headtag))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Write);
    Blame blame = writeexactoutput(source, output, plan, from, buffer, seams.crcpass);
    if (blame == Blame::Nobody && !writebytes(output, request.footertag))
        blame = Blame::Target;
    switch (blame) {
    case Blame::Nobody:
        break;
    case Blame::Source:
        return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Read);
    case Blame::Target:
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Write);
    }
    if (flush && !output.flush())
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Write);
    source.close();
    output.close();
    const int sourcecode = source.ioresult();
    const int outputcode = output.ioresult();
    if (outputcode != 0)
        return savefailure(Cause::Disk, Blame::Target, systemerror(outputcode), request.target, Step::Write);
    if (sourcecode != 0)
        return savefailure(Cause::Disk, Blame::Source, systemerror(sourcecode), from, Step::Read);
    SaveReport r;
    r.ok = true;
    r.bytes = plan.output.bytes() + madetagbytes(request);
    r.frames = plan.summary.frames;
    r.exact = plan.summary;
    return r;
}

// The kept stretches byte for byte into out.
SaveReport bytecopy(const LoadedFile& f, const SaveRequest& request, const std::string& out, bool flush,
                    mode_t mode, BinaryFile& output, std::span<std::uint8_t> buffer, const SaveSeams& seams)
{
    SaveChoices choices = request.choices;
    choices.replacing = flush;
    if (!output.create(out, true, mode))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Create);
    output.close();
    output.ioresult();
    SaveReport r = copyout(f, choices, out, output, buffer, seams.copier, {request.headtag, request.footertag});
    if (r.ok)
        r.bytes += madetagbytes(request);
    if (!r.ok && r.error.blame == Blame::Target)
        r.error.path = request.target;
    return r;
}

}  // namespace

namespace {

// A tag for a temporary name: this process, a count and the clock, so that
// no two saves (of this run or another) meet, nor a user's own file.
std::string uniquetag()
{
    static std::atomic<unsigned> count{0};
    const unsigned n = count.fetch_add(1);
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto mix = static_cast<unsigned long long>(now.tv_nsec) * 2654435761ULL ^
                     static_cast<unsigned long long>(n) << 40 ^ static_cast<unsigned long long>(now.tv_sec);
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016llx", mix);
    return ".qc" + std::to_string(::getpid()) + "-" + tag;
}

// The process that made a temporary of ours, from its name; 0 when the
// name is not one of ours.
long makerof(const std::string& name)
{
    const std::size_t at = name.find(".qc");
    if (at == std::string::npos)
        return 0;
    std::size_t i = at + 3;
    long pid = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100000000)
        pid = pid * 10 + (name[i++] - '0');
    if (i == at + 3 || i >= name.size() || name[i] != '-')
        return 0;
    const bool part = name.size() > 5 && name.compare(name.size() - 5, 5, ".part") == 0 && at == 0;
    const bool temp = name.size() > 7 && name.compare(name.size() - 7, 7, ".tmpmp3") == 0;
    return part || temp ? pid : 0;
}

// The permission bits the output is made with: never wider than the
// source's, so a private file's copy is private from its first byte.
mode_t outputmode(const LoadedFile& f)
{
    struct stat st {};
    return ::stat(f.sourcename.c_str(), &st) == 0 ? (st.st_mode & 0666) : 0600;
}

// Owner and group (where this process may set them), the permission bits
// and the extended attributes (ACLs among them) of from, given to to.
void copymetadata(const std::string& from, const std::string& to)
{
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0)
        return;
    if (::chown(to.c_str(), st.st_uid, st.st_gid) != 0) {
        // another owner needs privileges; the group may still be ours to set
        [[maybe_unused]] int ignored = ::chown(to.c_str(), static_cast<uid_t>(-1), st.st_gid);
    }
    ::chmod(to.c_str(), st.st_mode & 07777);
    const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(static_cast<std::size_t>(size));
    const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
    for (ssize_t at = 0; got > 0 && at < got;) {
        const char* name = names.data() + at;
        at += static_cast<ssize_t>(std::strlen(name)) + 1;
        const ssize_t n = ::getxattr(from.c_str(), name, nullptr, 0);
        if (n < 0)
            continue;
        std::vector<char> value(static_cast<std::size_t>(n));
        if (::getxattr(from.c_str(), name, value.data(), value.size()) == n)
            ::setxattr(to.c_str(), name, value.data(), value.size(), 0);
    }
}

// Writes the finished file into a FIFO, a device or standard output, as a
// stream (as cp does): such a target is never replaced by a file.
bool streaminto(const std::string& file, int fd, int& code)
{
    const int in = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        code = errno;
        return false;
    }
    std::vector<char> buf(std::size_t{1} << 20);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            code = n < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < n && ok;) {
            const ssize_t w = ::write(fd, buf.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                code = w < 0 ? errno : EIO;
                ok = false;
            } else {
                done += w;
            }
        }
        if (!ok)
            break;
    }
    ::close(in);
    return ok;
}

// Where a target goes: a stream (FIFO, device, standard output), or a file
// name, a symbolic link written through to the file it names.
struct Placement {
    bool stream = false;
    std::string final;  // the name the output takes
};

Placement placementof(const std::string& target)
{
    Placement p;
    if (target == standardoutput) {
        p.stream = true;
        return p;
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
        p.stream = true;
        p.final = target;
        return p;
    }
    std::error_code ec;
    p.final = target;
    if (fs::is_symlink(target, ec)) {
        const fs::path real = fs::weakly_canonical(target, ec);
        if (!ec)
            p.final = real.string();
    }
    return p;
}

}  // namespace

std::string stagingname(const std::string& target)
{
    return directorywithslash(target) + uniquetag() + ".part";
}

std::string replacementname(const std::string& replaced)
{
    const std::string stem = replaced.size() > 4 && replaced.compare(replaced.size() - 4, 4, ".mp3") == 0
                                 ? replaced.substr(0, replaced.size() - 4)
                                 : replaced;
    return stem + uniquetag() + ".tmpmp3";
}

int removestaletemporaries(const std::string& folder)
{
    int removed = 0;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
        const std::string name = e.path().filename().string();
        const long pid = makerof(name);
        if (pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;  // its maker runs (or is not ours to ask): it is in use
        std::error_code ignored;
        if (e.is_regular_file(ignored) && fs::remove(e.path(), ignored))
            ++removed;
    }
    return removed;
}

SaveReport save(const LoadedFile& f, const SaveRequest& request, const SaveSeams& seams)
{
    const SaveChoices& c = request.choices;
    if (c.cuts[0] < 0 || c.cuts[1] < 0 || c.cuts[0] + c.cuts[1] >= f.framecount)
        return savefailure(Cause::NothingKept, Blame::Nobody, 0, f.sourcename);
    // The record's positions hold only for the file as it was loaded.
    if (!sourceunchanged(f))
        return savefailure(Cause::SourceChanged, Blame::Source, 0, f.sourcename, Step::Read);
    // A longer name cannot be held; cutting it would write somewhere else.
    if (request.target.size() > maxtargetname)
        return savefailure(Cause::NameTooLong, Blame::Target, ENAMETOOLONG, request.target, Step::Create);

    const Placement place = placementof(request.target);
    // Any name of the source's file (another spelling, a link, a hard
    // link) is a replacement: the name chosen gets the new content.
    const bool replacing = !place.stream && samefile(place.final, f.sourcename);
    const std::string final = replacing ? replacedfile(place.final) : place.final;
    std::string out;
    if (place.stream) {
        const char* tmp = std::getenv("TMPDIR");
        out = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/" + uniquetag() + ".part";
    } else {
        out = replacing ? replacementname(final) : stagingname(final);
    }
    if (seams.staged)
        seams.staged(out);
    // What takes the place of an existing file is on the disk before it
    // takes the name; a new name puts nothing at risk and is left to the
    // system's write-back, as cp leaves it.
    const bool flush = !place.stream && (replacing || ::access(final.c_str(), F_OK) == 0);

    std::vector<std::uint8_t> buffer(copybuffersize);
    BinaryFile output;
    SaveReport r = request.exact ? exactcopy(f, request, out, flush, outputmode(f), output, buffer, seams)
                                 : bytecopy(f, request, out, flush, outputmode(f), output, buffer, seams);
    closequietly(output);
    auto discard = [&] {
        deletefile(out);
        if (seams.staged)
            seams.staged({});
    };
    if (!r.ok) {
        discard();
        return r;
    }
    if (place.stream) {
        int code = 0;
        const int fd = request.target == standardoutput
                           ? STDOUT_FILENO
                           : ::open(place.final.c_str(), O_WRONLY | O_CLOEXEC);
        const bool streamed = fd >= 0 && streaminto(out, fd, code);
        if (fd < 0)
            code = errno;
        if (fd >= 0 && fd != STDOUT_FILENO)
            ::close(fd);
        discard();
        if (!streamed)
            return savefailure(Cause::Disk, Blame::Target, code, request.target, Step::Write);
        r.written = request.target;
        return r;
    }
    if (replacing) {
        copymetadata(final, out);
        struct stat st {};
        if (::stat(final.c_str(), &st) == 0 && st.st_nlink > 1)
            r.otherlinks = static_cast<std::int64_t>(st.st_nlink) - 1;
    }
    // The source is checked once more just before the output is published:
    // a change meanwhile (another save of it among them) fails this one.
    if (!sourceunchanged(f)) {
        discard();
        return savefailure(Cause::SourceChanged, Blame::Source, 0, f.sourcename, Step::Read);
    }
    if (!movereplacement(out, final, seams.rename, flush)) {
        const int code = errno;
        discard();
        return savefailure(Cause::Disk, Blame::Target, code, request.target, Step::Replace);
    }
    if (seams.staged)
        seams.staged({});
    r.replaced = replacing;
    r.written = request.target;
    return r;
}

}  // namespace qc
