#include "texts/save_texts.h"

#include "cutting/fixed.h"

namespace qc {

std::string savefailuretext(const Error& error)
{
    return error.cause == Cause::NothingKept ? saveerror::nothingkept : saveerror::disk;
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
