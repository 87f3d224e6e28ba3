#include "tags/tag_views.h"

namespace qc {

namespace {

template <class Read>
TagRead readsource(const LoadedFile& f, Read read)
{
    BinaryFile source;
    if (!source.openforreading(f.sourcename)) {
        source.ioresult();
        return {{}, true};
    }
    TagRead r = read(source);
    source.close();
    if (source.ioresult() != 0)
        r.readfail = true;
    return r;
}

}  // namespace

TagRead headtagview(const LoadedFile& f)
{
    return readsource(f, [](BinaryFile& source) { return readid3v2(source); });
}

TagRead footertagview(const LoadedFile& f)
{
    return readsource(f, [&f](BinaryFile& source) {
        // a damaged tag runs to the end of the file
        if (f.footerfound && f.footerspan < 127)
            return readdamagedid3v1(source, footertagpos(f), f.footerspan + 1);
        return readid3v1(source, f.footerfound ? footertagpos(f) : f.footerpos);
    });
}

}  // namespace qc
