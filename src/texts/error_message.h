// A failure in words for a script's reader: what was being done to which
// file, and why ("cannot open x.mp3: No such file or directory").
#pragma once

#include <string>

#include "stream/error.h"

namespace qc {

// The system's text for an error number.
std::string errnotext(int code);

// The message of a failure that names its cause; windowtext is what the
// window shows for it, used where nothing more precise is known.
std::string errormessage(const Error& error, const std::string& windowtext);

}  // namespace qc
