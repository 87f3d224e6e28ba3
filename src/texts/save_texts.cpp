#include "texts/save_texts.h"

#include "cutting/fixed.h"
#include "texts/error_message.h"

namespace qc {

std::string savefailuretext(const Error& error)
{
    return error.cause == Cause::NothingKept ? saveerror::nothingkept : saveerror::disk;
}

std::string savecause(const Error& e)
{
    switch (e.cause) {
    case Cause::NothingKept:
        return {};
    case Cause::SourceChanged:
        return "It changed on disk after it was loaded: reload it.";
    case Cause::NameTooLong:
        return "The target's name is longer than 255 characters.";
    case Cause::TargetExists:
        return "A file of the target's name exists.";
    case Cause::FrameSize:
        return "The last frame to keep is cut short: the file ends inside it.";
    case Cause::Disk:
        break;
    default:
        return {};
    }
    const char* what = e.blame == Blame::Source ? "The source: " : "The target: ";
    if (e.errnum != 0)
        return what + errnotext(e.errnum);
    if (e.blame == Blame::Source)
        return "The source ends before its frames do: it changed on disk after it was loaded; reload it.";
    return "The target could not be written.";
}

std::string copiedtext(std::int64_t frames, std::int64_t bytes)
{
    return "Written byte for byte: " + std::to_string(frames) + " frames, " + std::to_string(bytes) + " bytes";
}

std::string writtentext(const ExactSummary& w)
{
    std::string text = "Written: " + fixed(w.seconds(), 3) + " s (" + std::to_string(w.samples) + " samples), " +
                       std::to_string(w.frames) + " frames";
    if (w.reservoirframes > 0)
        text += ", " + std::to_string(w.reservoirframes) + " reservoir frame" + (w.reservoirframes == 1 ? "" : "s");
    if (w.carrier)
        text += ", a carrier frame";
    return text;
}

}  // namespace qc
