// The ID3v2 view on arbitrary bytes: the frames of a header tag walked as
// the view walks them, whatever their sizes say.
#include <algorithm>

#include "check.h"
#include "counting_box.h"
#include "memfile.h"
#include "shell/tag_views.h"
#include "tags/text_encoding.h"

namespace {

using qcfuzz::CountingBox;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::MemFile input;
    static CountingBox box;
    static qc::LoadedFile file;
    static qc::TagViews views(file, box);
    file.sourcename = input.hold(data, size);

    box.shown = 0;
    views.vhtbuttonClick();
    QC_FUZZ_CHECK(box.shown == 1);
    const bool id3 = size >= 3 && data[0] == 'I' && data[1] == 'D' && data[2] == '3';
    if (!id3)
        QC_FUZZ_CHECK(views.readfail);
    if (views.readfail) {
        QC_FUZZ_CHECK(box.lasttext == qc::diskerrortext && box.laststyle == 48);
        return 0;
    }
    QC_FUZZ_CHECK(box.lastcaption == qc::tagcaption::id3v2 && box.laststyle == 64);
    // about 768 characters at most (the text is UTF-8)
    const std::string& t = box.lasttext;
    QC_FUZZ_CHECK(qc::utf8length(t) <= 770);
    return 0;
}
