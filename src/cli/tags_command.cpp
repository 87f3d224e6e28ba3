#include "cli/tags_command.h"

#include <algorithm>
#include <vector>

#include "cli/batch.h"
#include "cli/engine.h"
#include "tags/tag_views.h"
#include "texts/tag_texts.h"

namespace qccli {

namespace {

// A view as the window's button shows it: the tag text, or the disk error.
TagReport view(const qc::TagRead& read)
{
    return {read.readfail ? std::string(qc::diskerrortext) : read.text, read.readfail};
}

// size bytes of the source from offset on; empty when they cannot be read.
std::vector<std::uint8_t> readbytes(const std::string& path, std::int64_t offset, std::int64_t size)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    qc::BinaryFile file;
    if (!file.openforreading(path)) {
        file.ioresult();
        return {};
    }
    file.seek(offset);
    file.read(bytes.data(), bytes.size());
    file.close();
    if (file.ioresult() != 0)
        return {};
    return bytes;
}

Failure viewfailure(const std::string& path, const char* tag)
{
    return {ErrorKind::ReadFailed,
            "cannot read the " + std::string(tag) + " tag of " + path +
                ": it runs past the end of the file, or the file changed since it was loaded",
            qc::diskerrortext};
}

TagsReport tagsreport(Engine& engine, const std::string& given)
{
    TagsReport r;
    r.file = given;
    if (!engine.load(given, LoadOptions{})) {
        r.error = engine.failure;
        r.warnings = engine.warnings;
        return r;
    }
    qc::LoadedFile& f = engine.file;
    if (f.headtagpresent) {
        r.id3v2view = view(qc::headtagview(f));
        if (r.id3v2view->failed) {
            r.error = viewfailure(given, "ID3v2");
        } else {
            std::vector<std::uint8_t> bytes = readbytes(given, 0, std::min(f.headtagsize, f.filesize));
            r.id3v2 = qc::readid3v2frames(bytes);
            if (!r.id3v2)
                r.error = viewfailure(given, "ID3v2");
            else
                for (const std::string& problem : r.id3v2->problems)
                    r.warnings.push_back(problem + ".");
        }
    }
    if (f.footerfound) {
        r.id3v1view = view(qc::footertagview(f));
        std::optional<qc::Id3v1Fields> fields;
        if (!r.id3v1view->failed)
            fields = qc::readid3v1fields(readbytes(given, qc::footertagpos(f) - 1, std::min<std::int64_t>(f.footerspan + 1, 128)));
        if (fields)
            r.id3v1 = std::move(fields);
        else if (!r.error)
            r.error = viewfailure(given, "ID3v1");
    }
    return r;
}

struct TagsArgs {
    std::vector<std::string> files;
    bool json = false;
    int jobs = processorcount();
};

}  // namespace

void addtagscommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<TagsArgs>();
    CLI::App* cmd = app.add_subcommand("tags", "Show the ID3v2 and ID3v1 tags of MP3 files as text");
    cmd->add_option("FILE", args->files, "MP3 files")->required();
    cmd->add_flag("--json", args->json,
                  "One JSON object per file per line: the frames of the ID3v2 tag and the fields of the "
                  "ID3v1 tag, decoded, and the window's views of both");
    cmd->add_option("--jobs", args->jobs, "Files handled at the same time (default: the number of processors)")
        ->check(CLI::Range(1, 1024));
    cmd->callback([args, &status] {
        std::unique_ptr<Formatter> format = args->json ? jsonformatter() : textformatter();
        Batch batch;
        batch.names = args->files;
        batch.jobs = args->jobs;
        batch.work = [&](std::size_t i) {
            Engine engine;  // one loaded file per file of the command line
            return format->tags(tagsreport(engine, args->files[i]));
        };
        batch.lost = [&](std::size_t i, const std::string& why) {
            TagsReport r;
            r.file = args->files[i];
            r.error = Failure{ErrorKind::Internal, r.file + ": " + why, {}};
            return format->tags(r);
        };
        if (!runbatch(batch))
            status = 1;
    });
}

}  // namespace qccli
