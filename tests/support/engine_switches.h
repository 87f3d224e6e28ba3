// The engine's switches between two ways to the same outcome (a map of the
// file or the read window; the walk's one-loop stretches or strictly frame
// by frame), set for the span of a test: the setting the test found is put
// back when it ends, so that the tests after it run on the default.
#pragma once

#include "analysis/scanner.h"
#include "stream/mapped_file.h"

namespace qctest {

template <bool (*get)(), void (*set)(bool)>
class ScopedSwitch {
public:
    explicit ScopedSwitch(bool on) : was_(get()) { set(on); }
    ~ScopedSwitch() { set(was_); }
    ScopedSwitch(const ScopedSwitch&) = delete;
    ScopedSwitch& operator=(const ScopedSwitch&) = delete;

private:
    bool was_;
};

using MapsSetting = ScopedSwitch<&qc::MappedFile::enabled, &qc::MappedFile::setenabled>;
using StreaksSetting = ScopedSwitch<&qc::Scanner::streaksenabled, &qc::Scanner::setstreaks>;

}  // namespace qctest
