#include "cutting/exact_write.h"

#include <system_error>
#include <thread>

#include "cutting/mapped_copy.h"
#include "cutting/output_plan.h"

namespace qc {

namespace {

Blame writefailure(BinaryFile& source)
{
    return source.failed() ? Blame::Source : Blame::Target;
}

// The CRC through the map, or else through source and the buffer.
bool musiccrc(BinaryFile& source, const ExactPlan& plan, const std::string& sourcename,
              std::span<std::uint8_t> buffer, std::uint16_t& crc)
{
    crc = 0;
    return mappedcrc(sourcename, plan.output, plan.audiofrom, plan.audioto, crc) ||
           outputcrc(source, plan.output, plan.audiofrom, plan.audioto, buffer, crc);
}

}  // namespace

Blame writeexactoutput(BinaryFile& source, BinaryFile& output, ExactPlan& plan,
                                   const std::string& sourcename, std::span<std::uint8_t> buffer,
                                   CrcPass pass)
{
    const BinaryFile::RangeCopier copier = mappedcopyrange;
    if (pass == CrcPass::Chosen)
        pass = plan.output.bytes() >= (std::int64_t{16} << 20) ? CrcPass::Beside : CrcPass::Before;
    if (plan.tagliteral >= 0)
        finishexactplan(plan, 0);  // the tag frame's size, for the places of what follows it
    if (plan.tagliteral < 0)
        return writeoutputplan(source, output, plan.output, buffer, copier) ? Blame::Nobody
                                                                            : writefailure(source);
    if (pass == CrcPass::Before) {
        std::uint16_t crc = 0;
        if (!musiccrc(source, plan, sourcename, buffer, crc))
            return Blame::Source;
        finishexactplan(plan, crc);
        return writeoutputplan(source, output, plan.output, buffer, copier) ? Blame::Nobody
                                                                            : writefailure(source);
    }

    // Where the tag frame goes: after what precedes it in the plan.
    const std::int64_t start = output.position();
    std::int64_t tagat = start;
    for (const OutPiece& p : plan.output.pieces) {
        if (p.literal == plan.tagliteral)
            break;
        tagat += plan.output.size(p);
    }

    // The map is read on its own thread; source and buffer stay the copy's.
    std::uint16_t crc = 0;
    bool mapped = false;
    std::thread crcpass;
    try {
        crcpass = std::thread([&] { mapped = mappedcrc(sourcename, plan.output, plan.audiofrom, plan.audioto, crc); });
    } catch (const std::system_error&) {
        // no thread to be had: the CRC is read after the copy instead
    }
    const bool wrote = writeoutputplan(source, output, plan.output, buffer, copier);
    if (crcpass.joinable())
        crcpass.join();
    if (!wrote)
        return writefailure(source);
    if (!mapped) {
        crc = 0;
        if (!outputcrc(source, plan.output, plan.audiofrom, plan.audioto, buffer, crc))
            return Blame::Source;
    }
    finishexactplan(plan, crc);
    const std::vector<std::uint8_t>& tag = plan.output.literals[static_cast<std::size_t>(plan.tagliteral)];
    const std::int64_t end = output.position();
    output.seek(tagat);
    if (!tag.empty() && (output.write(tag.data(), tag.size()) != tag.size() || output.failed()))
        return Blame::Target;
    output.seek(end);
    return output.failed() ? Blame::Target : Blame::Nobody;
}

}  // namespace qc
