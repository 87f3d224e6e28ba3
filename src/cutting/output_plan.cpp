#include "cutting/output_plan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "cutting/crc16.h"
#include "cutting/mapped_copy.h"
#include "stream/mapped_file.h"

namespace qc {

void OutputPlan::addsource(Piece p)
{
    if (p.size() > 0)
        pieces.push_back({p, -1});
}

int OutputPlan::addliteral(std::vector<std::uint8_t> bytes)
{
    literals.push_back(std::move(bytes));
    int index = static_cast<int>(literals.size() - 1);
    pieces.push_back({{}, index});
    return index;
}

std::int64_t OutputPlan::size(const OutPiece& p) const
{
    return p.literal < 0 ? p.source.size() : static_cast<std::int64_t>(literals[p.literal].size());
}

std::int64_t OutputPlan::bytes() const
{
    std::int64_t n = 0;
    for (const OutPiece& p : pieces)
        n += size(p);
    return n;
}

bool writeoutputplan(BinaryFile& source, BinaryFile& output, const OutputPlan& plan,
                     std::span<std::uint8_t> buffer)
{
    return writeoutputplan(source, output, plan, buffer, mappedcopyrange);
}

bool writeoutputplan(BinaryFile& source, BinaryFile& output, const OutputPlan& plan,
                     std::span<std::uint8_t> buffer, const BinaryFile::RangeCopier& copier)
{
    CopyPlan run;
    auto flushrun = [&] {
        bool ok = run.pieces.empty() || copypieces(source, output, run, buffer, copier);
        run.pieces.clear();
        return ok;
    };
    for (const OutPiece& p : plan.pieces) {
        if (p.literal < 0) {
            run.pieces.push_back(p.source);
            continue;
        }
        if (!flushrun())
            return false;
        const std::vector<std::uint8_t>& bytes = plan.literals[p.literal];
        if (!bytes.empty() && (output.write(bytes.data(), bytes.size()) != bytes.size() || output.failed()))
            return false;
    }
    return flushrun();
}

bool outputcrc(BinaryFile& source, const OutputPlan& plan, std::size_t from, std::size_t to,
               std::span<std::uint8_t> buffer, std::uint16_t& crc)
{
    if (buffer.empty())
        return false;
    for (std::size_t i = from; i < to && i < plan.pieces.size(); ++i) {
        const OutPiece& p = plan.pieces[i];
        if (p.literal >= 0) {
            const std::vector<std::uint8_t>& bytes = plan.literals[p.literal];
            crc = crc16arc(crc, bytes.data(), bytes.size());
            continue;
        }
        source.seek(p.source.from - 1);
        std::int64_t remaining = p.source.size();
        while (remaining > 0) {
            std::size_t n = static_cast<std::size_t>(
                std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
            if (source.read(buffer.data(), n) != n || source.failed())
                return false;
            crc = crc16arc(crc, buffer.data(), n);
            remaining -= static_cast<std::int64_t>(n);
        }
    }
    return true;
}

bool mappedcrc(const std::string& path, const OutputPlan& plan, std::size_t from, std::size_t to,
               std::uint16_t& crc)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    MappedFile map;
    // guarded: a source cut short during the pass reads as zeros, not SIGBUS;
    // alone: the pass runs beside the copy, which has a helper of its own
    const bool mapped = ::fstat(fd, &st) == 0 && st.st_size > 0 &&
                        map.map(fd, static_cast<std::size_t>(st.st_size), MappedFile::Ahead::Alone);
    ::close(fd);
    if (!mapped)
        return false;
    const std::uint8_t* bytes = map.data();
    const std::size_t size = map.size();
    std::uint16_t c = crc;
    bool ok = true;
    for (std::size_t i = from; i < to && i < plan.pieces.size() && ok; ++i) {
        const OutPiece& p = plan.pieces[i];
        if (p.literal >= 0) {
            const std::vector<std::uint8_t>& lit = plan.literals[p.literal];
            c = crc16arc(c, lit.data(), lit.size());
        } else if (p.source.from < 1 || static_cast<std::uint64_t>(p.source.end - 1) > size) {
            ok = false;
        } else {
            // a stretch at a time, its page tables made ready first
            const std::size_t end = static_cast<std::size_t>(p.source.end - 1);
            for (auto at = static_cast<std::size_t>(p.source.from - 1); at < end;) {
                const std::size_t upto = std::min(end, MappedFile::stretchend(at));
                map.readyahead(at);
                c = crc16arc(c, bytes + at, upto - at);
                at = upto;
            }
        }
    }
    // zeros read in place of a vanished end are not the file's: the caller's
    // read of the source then finds out what is there
    if (map.faulted())
        ok = false;
    if (ok)
        crc = c;
    return ok;
}

}  // namespace qc
