// How a verb's report for one file is printed: as the window's texts, or as
// one JSON object per line. Each call gives what goes to standard output and
// to standard error for that file, so that parallel jobs can hand it back to
// be printed in input order.
#pragma once

#include <memory>
#include <string>

#include "cli/reports.h"

namespace qccli {

struct Printed {
    std::string out;
    std::string err;
    bool failed = false;
};

class Formatter {
public:
    virtual ~Formatter() = default;
    virtual Printed info(const InfoReport& r) const = 0;
    virtual Printed tags(const TagsReport& r) const = 0;
    virtual Printed cut(const CutReport& r) const = 0;
    virtual Printed split(const SplitReport& r) const = 0;
    // A command line that cannot be run at all.
    virtual Printed usage(const std::string& message) const = 0;
};

std::unique_ptr<Formatter> textformatter();
std::unique_ptr<Formatter> jsonformatter();

// The line on standard error for a failed file (both formats print it).
std::string errorline(const Common& r);

}  // namespace qccli
