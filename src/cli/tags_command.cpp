#include "cli/tags_command.h"

#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/engine.h"
#include "tags/tag_views.h"
#include "ui/byte_text.h"

namespace qccli {

namespace {

using json = nlohmann::ordered_json;

// Keeps the one box a view shows: the tag text or the disk error.
class ViewBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int, const std::string&) override
    {
        shown = text;
        return ui::idok;
    }
    std::string shown;
};

struct TagOutcome {
    std::string heading;  // the caption of the view's own box
    std::string text;     // what the box shows
    bool failed = false;  // the disk error instead of the tag text
};

TagOutcome runview(qc::LoadedFile& file, void (qc::TagViews::*click)(), const char* heading)
{
    ViewBox box;
    qc::TagViews views(file, box);
    (views.*click)();
    return {heading, box.shown, views.readfail};
}

struct FileTags {
    std::optional<TagOutcome> id3v2, id3v1;
    bool failed() const { return (id3v2 && id3v2->failed) || (id3v1 && id3v1->failed); }
};

FileTags readtags(qc::LoadedFile& file)
{
    FileTags tags;
    if (file.headtagpresent)
        tags.id3v2 = runview(file, &qc::TagViews::vhtbuttonClick, qc::tagcaption::id3v2);
    if (file.footerfound)
        tags.id3v1 = runview(file, &qc::TagViews::vftbuttonClick, qc::tagcaption::id3v1);
    return tags;
}

void printtext(const std::string& given, const FileTags& tags)
{
    std::cout << given << "\n";
    if (!tags.id3v2 && !tags.id3v1)
        std::cout << "no tags\n";
    for (const auto& tag : {tags.id3v2, tags.id3v1}) {
        if (!tag)
            continue;
        std::cout << tag->heading << "\n";
        std::string text = plainlines(ui::bytestext(tag->text));
        std::cout << text;
        if (!text.empty() && text.back() != '\n')
            std::cout << "\n";
    }
}

json tagjson(const std::optional<TagOutcome>& tag)
{
    return tag && !tag->failed ? json(ui::bytestext(tag->text)) : json(nullptr);
}

json tagsreport(const std::string& given, const FileTags& tags, const std::string& loaderror)
{
    json j;
    j["file"] = given;
    j["id3v1"] = tagjson(tags.id3v1);
    j["id3v2"] = tagjson(tags.id3v2);
    if (!loaderror.empty())
        j["error"] = loaderror;
    else if (tags.failed())
        j["error"] = qc::diskerrortext;
    else
        j["error"] = nullptr;
    return j;
}

struct TagsArgs {
    std::vector<std::string> files;
    bool json = false;
};

}  // namespace

void addtagscommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<TagsArgs>();
    CLI::App* cmd = app.add_subcommand("tags", "Show the ID3v2 and ID3v1 tags of MP3 files as text");
    cmd->add_option("FILE", args->files, "MP3 files")->required();
    cmd->add_flag("--json", args->json,
                  "One JSON object per file per line (tag bytes read as Latin-1)");
    cmd->callback([args, &status] {
        Engine engine;
        for (const std::string& name : args->files) {
            FileTags tags;
            std::string loaderror;
            if (engine.load(name, LoadOptions{}))
                tags = readtags(engine.file);
            else
                loaderror = plainlines(engine.box.error);
            if (args->json) {
                std::cout << tagsreport(name, tags, loaderror)
                                 .dump(-1, ' ', false, json::error_handler_t::replace)
                          << "\n";
            } else if (!loaderror.empty()) {
                std::cout << name << "\n  error: " << loaderror << "\n";
                std::cerr << name << ": " << loaderror << "\n";
            } else {
                printtext(name, tags);
            }
            if (!loaderror.empty() || tags.failed())
                status = 1;
        }
    });
}

}  // namespace qccli
