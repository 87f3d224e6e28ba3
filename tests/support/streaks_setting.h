// Walks the frames in stretches or strictly frame by frame for the span of
// a test; the setting the test found is put back when it ends.
#pragma once

#include "analysis/scanner.h"

namespace qctest {

class StreaksSetting {
public:
    explicit StreaksSetting(bool on) : was_(qc::Scanner::streaksenabled()) { qc::Scanner::setstreaks(on); }
    ~StreaksSetting() { qc::Scanner::setstreaks(was_); }
    StreaksSetting(const StreaksSetting&) = delete;
    StreaksSetting& operator=(const StreaksSetting&) = delete;

private:
    bool was_;
};

}  // namespace qctest
