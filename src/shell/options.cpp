#include "shell/options.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

namespace qc {

namespace {

// The file's object, or an empty one when it is missing or no object.
nlohmann::json readobject(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nlohmann::json::object();
    std::stringstream text;
    text << in.rdbuf();
    nlohmann::json j = nlohmann::json::parse(text.str(), nullptr, false);
    return j.is_object() ? j : nlohmann::json::object();
}

bool writeobject(const std::string& path, const nlohmann::json& j)
{
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

std::optional<int> readint(const nlohmann::json& j, const char* key)
{
    auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer())
        return std::nullopt;
    if (it->is_number_unsigned()) {
        const auto v = it->get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
            return std::nullopt;
        return static_cast<int>(v);
    }
    const auto v = it->get<std::int64_t>();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

std::string optionspath(const std::string& settingspath)
{
    std::size_t slash = settingspath.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : settingspath.substr(0, slash + 1);
    return dir + "quillcut.json";
}

Options readoptions(const std::string& path)
{
    Options o;
    const nlohmann::json j = readobject(path);
    auto exact = j.find("exact_output");
    if (exact != j.end() && exact->is_boolean())
        o.exactoutput = exact->get<bool>();
    return o;
}

bool writeoptions(const std::string& path, const Options& options)
{
    // other keys a later version wrote are kept
    nlohmann::json j = readobject(path);
    j["exact_output"] = options.exactoutput;
    return writeobject(path, j);
}

std::optional<WindowPlace> readwindowplace(const std::string& path, const std::string& key)
{
    const nlohmann::json j = readobject(path);
    auto it = j.find(key);
    if (it == j.end() || !it->is_object())
        return std::nullopt;
    const std::optional<int> left = readint(*it, "left"), top = readint(*it, "top");
    if (!left || !top)
        return std::nullopt;
    return WindowPlace{*left, *top};
}

bool writewindowplace(const std::string& path, const std::string& key, const WindowPlace& place)
{
    nlohmann::json j = readobject(path);
    j[key] = {{"left", place.left}, {"top", place.top}};
    return writeobject(path, j);
}

}  // namespace qc
