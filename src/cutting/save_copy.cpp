#include "cutting/save_report.h"


namespace qc {

SaveReport savefailure(SaveFailure failure, SaveReport::Blame blame, int errnum)
{
    SaveReport r;
    r.failure = failure;
    r.blame = blame;
    r.errnum = errnum;
    switch (failure) {
    case SaveFailure::None:
        r.kind = ErrorKind::None;
        break;
    case SaveFailure::NothingKept:
        r.kind = ErrorKind::NothingToSave;
        break;
    case SaveFailure::SourceChanged:
        r.kind = ErrorKind::ReadFailed;
        break;
    case SaveFailure::NameTooLong:
        r.kind = ErrorKind::WriteFailed;
        break;
    case SaveFailure::Disk:
        r.kind = blame == SaveReport::Source ? openfailurekind(errnum, ErrorKind::ReadFailed)
                                             : openfailurekind(errnum, ErrorKind::WriteFailed);
        break;
    }
    return r;
}

bool sourceunchanged(const LoadedFile& f)
{
    BinaryFile probe;
    if (!probe.openexisting(f.sourcename)) {
        probe.ioresult();
        return false;
    }
    std::int64_t size = probe.size();
    probe.close();
    probe.ioresult();
    return size == f.filesize;
}

SaveReport copyout(const LoadedFile& f, const SaveChoices& choices, const std::string& target,
                   BinaryFile& output, std::span<std::uint8_t> buffer,
                   const BinaryFile::RangeCopier& copier)
{
    BinaryFile source;
    // The errno is read without clearing it: the caller's clean-up still
    // finds a failed file failed.
    if (!output.create(target))
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(output.peekerror()));
    if (!source.openexisting(f.sourcename))
        return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(source.peekerror()));
    if (source.size() != f.filesize)
        return savefailure(SaveFailure::SourceChanged, SaveReport::Source);
    std::optional<CopyPlan> plan = makesaveplan(f, choices);
    if (!plan)
        return savefailure(SaveFailure::NothingKept);
    if (!copypieces(source, output, *plan, buffer, copier)) {
        if (source.failed())
            return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(source.peekerror()));
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(output.peekerror()));
    }
    if (choices.replacing && !output.flush())
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(output.peekerror()));
    source.close();
    output.close();
    const int sourcecode = source.ioresult();
    const int outputcode = output.ioresult();
    if (outputcode != 0)
        return savefailure(SaveFailure::Disk, SaveReport::Target, systemerror(outputcode));
    if (sourcecode != 0)
        return savefailure(SaveFailure::Disk, SaveReport::Source, systemerror(sourcecode));
    SaveReport r;
    r.ok = true;
    r.bytes = plan->bytes();
    r.frames = f.framecount - choices.cuts[0] - choices.cuts[1];
    return r;
}

}  // namespace qc
