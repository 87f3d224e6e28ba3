// The tag readers that quillcut-cli's JSON is built from, on arbitrary
// bytes: every text they return is valid UTF-8, and they never read outside
// what they are given.
#include <span>
#include <string>

#include "check.h"
#include "tags/id3v1_fields.h"
#include "tags/id3v2_frames.h"

namespace {

bool validutf8(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        int more = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (more < 0 || (more == 1 && b < 0xC2) || i + static_cast<std::size_t>(more) >= s.size() + (more == 0))
            return false;
        char32_t c = more == 0 ? b : b & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            auto n = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((n & 0xC0) != 0x80)
                return false;
            c = c << 6 | (n & 0x3F);
        }
        static constexpr char32_t least[4] = {0, 0x80, 0x800, 0x10000};
        if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    if (std::optional<qc::Id3v2Frames> tag = qc::readid3v2frames(bytes)) {
        QC_FUZZ_CHECK(tag->version >= 2 && tag->version <= 4);
        for (const qc::Id3v2Frame& f : tag->frames) {
            QC_FUZZ_CHECK(f.id.size() == (tag->version == 2 ? 3u : 4u));
            if (f.text)
                QC_FUZZ_CHECK(validutf8(*f.text));
            if (f.contentdescription)
                QC_FUZZ_CHECK(validutf8(*f.contentdescription));
        }
    }
    if (size >= 128) {
        if (std::optional<qc::Id3v1Fields> t = qc::readid3v1fields(bytes.last(128)))
            for (const std::string* s : {&t->title, &t->artist, &t->album, &t->year, &t->comment})
                QC_FUZZ_CHECK(validutf8(*s));
    }
    return 0;
}
