#include "shell/options.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace qc {

std::string optionspath(const std::string& settingspath)
{
    std::size_t slash = settingspath.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : settingspath.substr(0, slash + 1);
    return dir + "quillcut.json";
}

Options readoptions(const std::string& path)
{
    Options o;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return o;
    std::stringstream text;
    text << in.rdbuf();
    nlohmann::json j = nlohmann::json::parse(text.str(), nullptr, false);
    if (!j.is_object())
        return o;
    auto exact = j.find("exact_output");
    if (exact != j.end() && exact->is_boolean())
        o.exactoutput = exact->get<bool>();
    return o;
}

bool writeoptions(const std::string& path, const Options& options)
{
    // other keys a later version wrote are kept
    nlohmann::json j = nlohmann::json::object();
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::stringstream text;
            text << in.rdbuf();
            nlohmann::json old = nlohmann::json::parse(text.str(), nullptr, false);
            if (old.is_object())
                j = std::move(old);
        }
    }
    j["exact_output"] = options.exactoutput;
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << j.dump(2) << "\n";
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qc
