// The progress line on standard error: files done of the total and the file
// being handled, redrawn in place. Only on a terminal; nothing otherwise,
// so a script's captured standard error holds only the reports.
#pragma once

#include <cstddef>
#include <string>

namespace qccli {

class ProgressLine {
public:
    explicit ProgressLine(std::size_t total);
    void show(std::size_t done, const std::string& current);
    // Removes the line, so that a report can be printed where it was.
    void clear();

    // "[3/10] name", held to width columns (0: no limit).
    static std::string text(std::size_t done, std::size_t total, const std::string& current, std::size_t width);

private:
    std::size_t total_;
    bool enabled_;
    bool shown_ = false;
};

}  // namespace qccli
