// Names of the ID3v1 genre numbers.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

// 0..147 are the named genres of the ID3v1 list with its extension; 255 is
// "no genre"; anything between is shown with its number.
std::string genrename(std::uint8_t genre);

}  // namespace qc
