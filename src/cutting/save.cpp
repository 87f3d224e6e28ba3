#include "cutting/save.h"

#include <atomic>
#include <cerrno>
#include <unistd.h>
#include <vector>

#include "cutting/replacement.h"
#include "stream/paths.h"

namespace qc {

namespace {

void closequietly(BinaryFile& file)
{
    if (file.isopen())
        file.close();
    file.ioresult();
}

class FileBytes : public SourceBytes {
public:
    explicit FileBytes(BinaryFile& file) : file_(file) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        file_.seek(offset);
        return file_.read(buf, n) == n && !file_.failed();
    }

private:
    BinaryFile& file_;
};

// The exact output into out: planned from the frames' side information,
// its tag frame completed with the CRC of the audio it is followed by.
SaveReport exactcopy(const LoadedFile& f, const SaveRequest& request, const std::string& out, bool flush,
                     BinaryFile& output, std::span<std::uint8_t> buffer, const SaveSeams& seams)
{
    const std::string& from = f.sourcename;
    BinaryFile source;
    if (!output.create(out, true))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Create);
    if (!source.openexisting(from))
        return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Open);
    if (source.size() != f.filesize)
        return savefailure(Cause::SourceChanged, Blame::Source, 0, from, Step::Read);
    FileBytes reader(source);
    ExactResult planned = makeexactplan(f, request.choices.keep, request.samples,
                                        {request.choices.cuts[0], request.choices.cuts[1]}, reader);
    if (!planned.plan) {
        if (planned.refusal == Cause::Disk)
            return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Read);
        return savefailure(Cause::NothingKept, Blame::Nobody, 0, from);
    }
    ExactPlan& plan = *planned.plan;
    switch (writeexactoutput(source, output, plan, from, buffer, seams.crcpass)) {
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
    r.bytes = plan.output.bytes();
    r.frames = plan.summary.frames;
    r.exact = plan.summary;
    return r;
}

// The kept stretches byte for byte into out.
SaveReport bytecopy(const LoadedFile& f, const SaveRequest& request, const std::string& out, bool flush,
                    BinaryFile& output, std::span<std::uint8_t> buffer, const SaveSeams& seams)
{
    SaveChoices choices = request.choices;
    choices.replacing = flush;
    if (!output.create(out, true))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), request.target, Step::Create);
    output.close();
    output.ioresult();
    SaveReport r = copyout(f, choices, out, output, buffer, seams.copier);
    if (!r.ok && r.error.blame == Blame::Target)
        r.error.path = request.target;
    return r;
}

}  // namespace

std::string stagingname(const std::string& target)
{
    static std::atomic<unsigned> count{0};
    // the process, a count and the clock: unique among this program's saves
    // into one folder, and unlikely to meet a user's own file
    const unsigned n = count.fetch_add(1);
    const auto mix = static_cast<unsigned long long>(::getpid()) * 2654435761ULL ^
                     static_cast<unsigned long long>(n) << 32 ^
                     static_cast<unsigned long long>(::clock());
    char tag[17];
    std::snprintf(tag, sizeof tag, "%016llx", mix);
    return directorywithslash(target) + ".qc" + std::to_string(::getpid()) + "-" + tag + ".part";
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

    const bool replacing = samefile(request.target, f.sourcename);
    const std::string final = replacing ? replacedfile(f.sourcename) : request.target;
    std::string out;
    if (replacing) {
        out = temporaryname(final);
        deletefile(out);
    } else {
        out = stagingname(final);
    }
    // What takes the place of an existing file is on the disk before it
    // takes the name; a new name puts nothing at risk and is left to the
    // system's write-back, as cp leaves it.
    const bool flush = replacing || ::access(final.c_str(), F_OK) == 0;

    std::vector<std::uint8_t> buffer(copybuffersize);
    BinaryFile output;
    SaveReport r = request.exact ? exactcopy(f, request, out, flush, output, buffer, seams)
                                 : bytecopy(f, request, out, flush, output, buffer, seams);
    closequietly(output);
    if (!r.ok) {
        deletefile(out);
        return r;
    }
    if (replacing)
        copypermissions(final, out);
    if (!movereplacement(out, final, seams.rename)) {
        const int code = errno;
        deletefile(out);
        return savefailure(Cause::Disk, Blame::Target, code, request.target, Step::Replace);
    }
    r.replaced = replacing;
    r.written = replacing ? f.sourcename : request.target;
    return r;
}

}  // namespace qc
