#include "texts/load_texts.h"

#include "texts/save_texts.h"

#include <cmath>

#include "cutting/fixed.h"
#include "texts/error_message.h"
#include "stream/frame_header.h"

namespace qc {

namespace {

const char* const warning = "Warning";
const char* const unknowncaption = "unknown origin data";
const char* const continuecaption = "Error, may be possible to continue";

std::string trimleft(const std::string& s)
{
    std::size_t i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string durationtext(double seconds)
{
    auto minutes = static_cast<std::int64_t>(std::trunc(seconds / 60));
    double rest = seconds - 60.0 * static_cast<double>(minutes);
    if (rest < 0)
        rest = 0;
    if (minutes == 0)
        return fixed(seconds, 3);
    std::string r = fixed(rest, 1);
    if (r.size() == 3)
        r = "0" + r;
    return std::to_string(minutes) + ":" + r;
}

std::string bytes(std::int64_t n)
{
    return std::to_string(n);
}

}  // namespace

std::string failuretext(const Error& error)
{
    switch (error.cause) {
    case Cause::None:
    case Cause::Cancelled:
        return {};
    case Cause::Disk:
        return loaderror::disk;
    case Cause::InvalidHeader:
        return loaderror::invalidheader;
    case Cause::NotMp3Rate:
        return loaderror::notmp3rate;
    case Cause::NotMp3:
    case Cause::TagPastEnd:
        return loaderror::notmp3;
    case Cause::VariableRate:
        return loaderror::variablerate;
    case Cause::VersionChanged:
        return loaderror::versionchanged + std::to_string(error.position) + " - not allowed.";
    case Cause::FrameSize:
        return loaderror::framesize;
    case Cause::ImproperFrameHeader:
        return "Improper frame header around position " + std::to_string(error.position) + ".";
    case Cause::NothingKept:
        return saveerror::nothingkept;
    case Cause::SourceChanged:
    case Cause::NameTooLong:
    case Cause::TargetExists:
        return saveerror::disk;
    }
    return loaderror::disk;
}

std::string loadcause(const Error& error, std::int64_t filesize)
{
    if (error.cause != Cause::Disk)
        return {};
    if (error.errnum != 0)
        return errnotext(error.errnum);
    if (filesize == 0)
        return "The file is empty.";
    return "The file ends before its data does (did it change while it was loaded?).";
}

BoxText questionbox(const Question& q)
{
    switch (q.kind) {
    case Question::ImproperHeader:
        return {"Improper or unknown header format.\r\nTry to continue processing?", 36, continuecaption};
    case Question::ImproperFrameSize:
        return {"Improper frame size at position " + std::to_string(q.value) +
                    "\r\nTry to continue processing?",
                36, continuecaption};
    case Question::LeadingData:
        return {"Data of unknown origin (possibly a part of unknown type header tag),\r\n" +
                    std::to_string(q.value) +
                    " bytes, was found on file beginning. Display [some of] this data?",
                67, warning};
    case Question::DataAfterTag:
        return {"Data of unknown origin (" + bytes(q.value) + " bytes) has been" + "\r\n" +
                    "found after footer (ID3v1) tag. Display [some of] it?",
                67, warning};
    case Question::DataBeforeTag:
        return {"Data of unknown origin (" + bytes(q.value) +
                    " bytes) has been found between last frame and footer (ID3v1) tag." + "\r\n" +
                    "This data may represent a comment, a part of an invalid size frame, "
                    "or a tag of unknown type." +
                    "\r\n" + "Do you want to display [some of] it?",
                67, warning};
    case Question::DataAtEnd:
        return {"Data of unknown origin (" + bytes(q.value) +
                    " bytes) has been found on the file end. This data" + "\r\n" +
                    "may represent a comment, a tag of unknown type, or a part of an invalid "
                    "size frame." +
                    "\r\n" + "Do you want to display [some of] it?",
                67, warning};
    case Question::DamagedTail:
        return {"Large amount of data which can't be interpretted as mp3 frame(s) or\r\n"
                "tag(s) has been found near the file end. if you choose to process the\r\n"
                "file, it will have to be truncated. Display some of this data?",
                67, warning};
    case Question::Truncate:
        return {"Truncate the file or cancel?", 65, "now what?"};
    case Question::Include:
        return {"Include this data to output file?\r\n(not recommended)", 323, unknowncaption};
    }
    return {};
}

BoxText noticebox(const Notice& n)
{
    switch (n.kind) {
    case Notice::DamagedFooter:
        return {"Damaged footer (ID3v1) tag!\r\nIt will not be written to output file.", 48, warning};
    case Notice::FreeFormat:
        return {"Possible length error < " + fixed(n.seconds, 2) + " sec" + "\r\n" +
                    "(due to free format frame" + (n.count > 1 ? "s" : "") + ")",
                48, warning};
    case Notice::ShowData:
        return {n.text, 0, unknowncaption};
    }
    return {};
}

std::string infocaption(const LoadReport& r)
{
    return infocaption(r, r.seconds);
}

std::string infocaption(const LoadReport& r, double seconds)
{
    std::string rate =
        r.dominantbitrate < 0 ? "var.kbps" : trimleft(bitratetext(r.versionbits, r.dominantbitrate)) + " kbps";
    return sampleratetext(r.versionbits, r.sampleratebits) + rate + ", " + durationtext(seconds) +
           ", " + channelmodetext(r.channelmode);
}

std::string bitratecaption(int index, std::int32_t frames)
{
    return bitratetext(index) + " kbps frames:" + std::to_string(frames);
}

std::string bitratecaption(const LoadReport& report, int index)
{
    const std::int64_t frames =
        index >= 0 && index <= 14 ? report.bitrateframes[static_cast<std::size_t>(index)] : 0;
    return bitratetext(report.versionbits, index) + " kbps frames:" + std::to_string(frames);
}

}  // namespace qc
