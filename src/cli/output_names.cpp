#include "cli/output_names.h"

#include <filesystem>
#include <map>

#include "cutting/replacement.h"

namespace qccli {

namespace fs = std::filesystem;

std::string outputname(const std::string& source, const OutputRule& rule)
{
    fs::path src(source);
    switch (rule.mode) {
    case OutputMode::Named:
        return rule.text;
    case OutputMode::Directory:
        return (fs::path(rule.text) / src.filename()).string();
    case OutputMode::Suffix: {
        std::string name = src.filename().string();
        std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || dot == 0)
            dot = name.size();
        std::string renamed = name.substr(0, dot) + rule.text + name.substr(dot);
        return (src.parent_path() / renamed).string();
    }
    case OutputMode::InPlace:
        return source;
    }
    return source;
}

namespace {

// One spelling per file: links and relative parts resolved as far as the
// file or its directory exists.
std::string key(const std::string& name)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(name, ec), ec);
    return ec ? name : p.string();
}

}  // namespace

std::vector<std::optional<std::string>> clashes(const std::vector<std::string>& sources,
                                                const std::vector<std::string>& outputs)
{
    const std::size_t n = sources.size();
    std::vector<std::optional<std::string>> out(n);
    if (n < 2)
        return out;
    std::map<std::string, std::size_t> sourceof, outputof, temporaryof;
    std::vector<std::string> outkeys(n), tempkeys(n);
    for (std::size_t i = 0; i < n; ++i) {
        sourceof.emplace(key(sources[i]), i);
        outkeys[i] = key(outputs[i]);
        if (qc::samefile(sources[i], outputs[i]))
            tempkeys[i] = key(qc::temporaryname(qc::replacedfile(sources[i])));
    }
    for (std::size_t i = 0; i < n; ++i) {
        auto other = [&](const std::map<std::string, std::size_t>& m, const std::string& k) -> std::optional<std::size_t> {
            auto it = m.find(k);
            if (it == m.end() || it->second == i)
                return std::nullopt;
            return it->second;
        };
        if (auto j = other(outputof, outkeys[i])) {
            out[i] = outputs[i] + " is also the output of " + sources[*j] + "; not written twice";
        } else if (auto t = other(temporaryof, outkeys[i])) {
            out[i] = outputs[i] + " is the temporary file of replacing " + sources[*t] + "; not written";
        } else if (auto s = other(sourceof, outkeys[i]); s && !qc::samefile(sources[i], outputs[i])) {
            out[i] = outputs[i] + " is " + sources[*s] + ", another file of this run; it is not replaced";
        } else if (!tempkeys[i].empty() &&
                   (other(sourceof, tempkeys[i]) || other(outputof, tempkeys[i]) || other(temporaryof, tempkeys[i]))) {
            out[i] = "the temporary file " + tempkeys[i] + " of replacing " + sources[i] +
                     " is needed by another file of this run";
        }
        if (!out[i]) {
            outputof.emplace(outkeys[i], i);
            if (!tempkeys[i].empty())
                temporaryof.emplace(tempkeys[i], i);
        }
    }
    return out;
}

}  // namespace qccli
