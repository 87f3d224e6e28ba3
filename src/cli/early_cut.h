// The cut's early copy, driven by the load: once the walk is past the
// first frames the cut keeps, the frames behind the walk are copied into
// the output on a second thread (cutting/early_copy.h), and the save then
// writes around them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cutting/early_copy.h"
#include "cutting/early_place.h"
#include "stream/loaded_file.h"

namespace qccli {

class EarlyCut {
public:
    // For a load into f whose cut is known as far as want says, with the
    // start cut in frames, or in seconds when seconds is set; the output
    // is the existing file output.
    EarlyCut(const qc::LoadedFile& f, const qc::EarlyCut& want, std::optional<double> seconds,
             std::string output);

    // At each progress step of the walk.
    void step();
    // The copy, when it started.
    qc::EarlyCopy* copy() { return copy_.started() ? &copy_ : nullptr; }

    // Whether cuts make an EarlyCut: unless the environment's
    // QUILLCUT_NO_EARLY_COPY is set (tests and benchmarks compare both ways).
    static bool enabled();

private:
    void begin();

    const qc::LoadedFile& f_;
    qc::EarlyCut want_;
    std::optional<double> seconds_;
    std::string output_;
    bool tried_ = false;
    qc::EarlyCopy copy_;
};

}  // namespace qccli
