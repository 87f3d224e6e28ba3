// Times as people type them and cue sheets hold them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qc {

// Seconds from "83.5" or "[h:]mm:ss[.fff]"; nullopt for anything else
// (a negative time, a minute or second field of 60 or more after the
// first field, text around the number).
std::optional<double> parseclock(std::string_view text);

// A time as "[h:]mm:ss.fff" for people (samples at the rate).
std::string clocktext(std::int64_t samples, std::int32_t samplerate);

// Cue sheet frames (1/75 s) as samples, to the nearest sample, and back to
// the nearest frame.
std::int64_t cueframestosamples(std::int64_t frames, std::int32_t samplerate);
std::int64_t samplestocueframes(std::int64_t samples, std::int32_t samplerate);

// "mm:ss:ff" of a cue sheet's INDEX line (minutes may pass 99).
std::string cuetimetext(std::int64_t frames);

}  // namespace qc
