// Cue sheets from anywhere: any text is read or refused with a line inside
// it, never crashes; a sheet that is read, written again and read back
// gives the same file, titles and times.
#include <string>

#include "check.h"
#include "splitting/cue_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const qc::CueRead read = qc::parsecuesheet(text);
    if (!read.sheet) {
        QC_FUZZ_CHECK(!read.problem.message.empty());
        QC_FUZZ_CHECK(read.problem.line >= 0);
        return 0;
    }
    const qc::CueSheet& sheet = *read.sheet;
    QC_FUZZ_CHECK(!sheet.tracks.empty());
    for (std::size_t i = 1; i < sheet.tracks.size(); ++i)
        QC_FUZZ_CHECK(sheet.tracks[i].index > sheet.tracks[i - 1].index);
    const qc::CueRead again = qc::parsecuesheet(qc::cuesheettext(sheet));
    QC_FUZZ_CHECK(again.sheet.has_value());
    QC_FUZZ_CHECK(again.sheet->tracks.size() == sheet.tracks.size());
    for (std::size_t i = 0; i < sheet.tracks.size(); ++i)
        QC_FUZZ_CHECK(again.sheet->tracks[i].index == sheet.tracks[i].index);
    return 0;
}
