// What a load found, as text lines and as JSON, for quillcut-cli info.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/engine.h"

namespace qccli {

// The JSON object of one file after a load (error set when it failed).
nlohmann::ordered_json inforeport(const Engine& engine, const std::string& given);
// The same as the window would show it, one fact per line.
std::string infotext(const Engine& engine, const std::string& given);

}  // namespace qccli
