#include "cli/progress_line.h"

#include <algorithm>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace qccli {

namespace {

std::size_t terminalwidth()
{
    winsize ws{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0)
        return ws.ws_col;
    return 80;
}

}  // namespace

ProgressLine::ProgressLine(std::size_t total) : total_(total), enabled_(total > 0 && ::isatty(STDERR_FILENO) == 1) {}

std::string ProgressLine::text(std::size_t done, std::size_t total, const std::string& current, std::size_t width)
{
    std::string line(1, '[');
    line += std::to_string(done);
    line += '/';
    line += std::to_string(total);
    line += "] ";
    // the end of a long name says more than its start; one column is kept
    // free so that the terminal does not wrap
    if (width > 0 && line.size() + current.size() + 1 > width) {
        std::size_t room = std::min(width > line.size() + 4 ? width - line.size() - 4 : 0, current.size());
        line.append("...");
        line.append(current, current.size() - room, room);
        return line;
    }
    line.append(current);
    return line;
}

void ProgressLine::show(std::size_t done, const std::string& current)
{
    if (!enabled_)
        return;
    std::string line = "\r\033[K" + text(done, total_, current, terminalwidth());
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    shown_ = true;
}

void ProgressLine::clear()
{
    if (!enabled_ || !shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace qccli
