#include "cutting/save_report.h"

#include "stream/source_identity.h"

#include <utility>


namespace qc {

SaveReport savefailure(Cause cause, Blame blame, int errnum, std::string path, Step step)
{
    SaveReport r;
    r.error = makeerror(cause, blame, errnum, std::move(path), step);
    return r;
}

bool sourceunchanged(const LoadedFile& f)
{
    const SourceIdentity now = identityof(f.sourcename);
    if (f.identity.size < 0)
        return now.size == f.filesize;
    return now == f.identity && now.size == f.filesize;
}

SaveReport copyout(const LoadedFile& f, const SaveChoices& choices, const std::string& target,
                   BinaryFile& output, std::span<std::uint8_t> buffer,
                   const BinaryFile::RangeCopier& copier, MadeTags made)
{
    BinaryFile source;
    // The errno is read without clearing it: the caller's clean-up still
    // finds a failed file failed.
    const std::string& from = f.sourcename;
    if (!output.create(target))
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), target, Step::Create);
    if (!source.openforreading(from))
        return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Open);
    if (source.size() != f.filesize)
        return savefailure(Cause::SourceChanged, Blame::Source, 0, from, Step::Read);
    std::optional<CopyPlan> plan = makesaveplan(f, choices);
    if (!plan)
        return savefailure(Cause::NothingKept);
    auto writemade = [&](std::span<const std::uint8_t> bytes) {
        return bytes.empty() || (output.write(bytes.data(), bytes.size()) == bytes.size() && !output.failed());
    };
    if (!writemade(made.head) || !copypieces(source, output, *plan, buffer, copier) || !writemade(made.foot)) {
        if (source.failed())
            return savefailure(Cause::Disk, Blame::Source, systemerror(source.peekerror()), from, Step::Read);
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), target, Step::Write);
    }
    if (choices.replacing && !output.flush())
        return savefailure(Cause::Disk, Blame::Target, systemerror(output.peekerror()), target, Step::Write);
    source.close();
    output.close();
    const int sourcecode = source.ioresult();
    const int outputcode = output.ioresult();
    if (outputcode != 0)
        return savefailure(Cause::Disk, Blame::Target, systemerror(outputcode), target, Step::Write);
    if (sourcecode != 0)
        return savefailure(Cause::Disk, Blame::Source, systemerror(sourcecode), from, Step::Read);
    SaveReport r;
    r.ok = true;
    r.bytes = plan->bytes();
    r.frames = f.framecount - choices.cuts[0] - choices.cuts[1];
    return r;
}

}  // namespace qc
