// The tags of a split's tracks made from any source tag: the ID3v2 tag is
// always an ID3v2.4 tag whose stated size is its length, the ID3v1 tag
// always 128 bytes starting "TAG".
#include <span>
#include <string>

#include "check.h"
#include "tags/track_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    qc::TrackTagFields fields;
    fields.title = size > 0 ? std::string(reinterpret_cast<const char*>(data), size % 40) : "Track 1";
    fields.number = 3;
    fields.count = 12;
    fields.milliseconds = 61234;
    const std::vector<std::uint8_t> v2 = qc::trackid3v2(bytes, fields);
    QC_FUZZ_CHECK(v2.size() >= 10);
    QC_FUZZ_CHECK(v2[0] == 'I' && v2[1] == 'D' && v2[2] == '3' && v2[3] == 4);
    const std::size_t stated = (std::size_t{v2[6]} << 21) | (std::size_t{v2[7]} << 14) | (std::size_t{v2[8]} << 7) | v2[9];
    QC_FUZZ_CHECK(stated + 10 == v2.size() || stated + 20 == v2.size());  // a footer adds 10
    const std::vector<std::uint8_t> v1 = qc::trackid3v1(bytes.subspan(0, std::min<std::size_t>(size, 128)), fields);
    QC_FUZZ_CHECK(v1.size() == 128 && v1[0] == 'T' && v1[1] == 'A' && v1[2] == 'G');
    return 0;
}
