#include "shell/options.h"

#include <cstdint>
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
    auto tracks = j.find("tracks_window");
    if (tracks != j.end() && tracks->is_object()) {
        auto left = tracks->find("left"), top = tracks->find("top");
        // a place no screen has is not kept: it is no int
        if (left != tracks->end() && top != tracks->end() && left->is_number_integer() && top->is_number_integer() &&
            left->get<std::int64_t>() >= INT32_MIN && left->get<std::int64_t>() <= INT32_MAX &&
            top->get<std::int64_t>() >= INT32_MIN && top->get<std::int64_t>() <= INT32_MAX)
            o.trackswindow = WindowPlace{left->get<int>(), top->get<int>()};
    }
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
    if (options.trackswindow)
        j["tracks_window"] = {{"left", options.trackswindow->left}, {"top", options.trackswindow->top}};
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
