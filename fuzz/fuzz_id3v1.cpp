// The ID3v1 view on arbitrary bytes: the tag read at the usual place (the
// last 128 bytes), at a position taken from the input, and at positions
// outside the file, as after a source changed since its load.
#include <algorithm>

#include "check.h"
#include "counting_box.h"
#include "memfile.h"
#include "tags/genres.h"
#include "shell/tag_views.h"

namespace {

using qcfuzz::CountingBox;

void viewat(qc::LoadedFile& file, qc::TagViews& views, CountingBox& box, std::int64_t footerpos,
            const std::uint8_t* data, std::int64_t size)
{
    box.shown = 0;
    file.footerpos = footerpos;
    views.vftbuttonClick();
    // one box: the tag's text or the disk error, and the file closed again
    QC_FUZZ_CHECK(box.shown == 1);
    const bool intag = footerpos >= 1 && footerpos + 127 <= size;
    if (!intag)
        QC_FUZZ_CHECK(views.readfail);
    if (views.readfail) {
        QC_FUZZ_CHECK(box.lasttext == qc::diskerrortext && box.laststyle == 48);
        return;
    }
    const std::uint8_t genrebyte = data[footerpos - 1 + 127];
    QC_FUZZ_CHECK(box.lastcaption == qc::tagcaption::id3v1 && box.laststyle == 64);
    // the genre line last, no empty first line
    const std::string& t = box.lasttext;
    const std::string genre = "Genre: " + qc::genrename(genrebyte);
    QC_FUZZ_CHECK(t.size() >= genre.size() && t.compare(t.size() - genre.size(), genre.size(), genre) == 0);
    QC_FUZZ_CHECK(t.rfind("\r\n", 0) != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::MemFile input;
    static CountingBox box;
    static qc::LoadedFile file;
    static qc::TagViews views(file, box);
    file.sourcename = input.hold(data, size);
    const auto n = static_cast<std::int64_t>(size);

    viewat(file, views, box, static_cast<std::int32_t>(std::max<std::int64_t>(n - 127, 1)), data, n);
    if (size >= 2)
        viewat(file, views, box, 1 + (data[0] | data[1] << 8) % static_cast<std::int32_t>(size), data, n);
    viewat(file, views, box, static_cast<std::int32_t>(n + 1), data, n);
    viewat(file, views, box, 0, data, n);
    return 0;
}
