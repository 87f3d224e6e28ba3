#include "tags/frame_descriptions.h"

#include <cstring>
#include <iterator>

#include "tags/field_text.h"

namespace qc {

namespace {

struct FrameDescription {
    char id[5];
    const char* text;
};

// The 74 identifiers of ID3v2.3.0. The texts are this program's own short
// ones: SYTC, TOAL and TALB all read "Album", TCOP and WCOP "Copyright".
constexpr FrameDescription framedescriptions[] = {
    {"AENC", "AENC audio encryption"},
    {"APIC", "Attached picture"},
    {"COMM", "Comment"},
    {"COMR", "Commercial frame"},
    {"ENCR", "Encryption method registration"},
    {"EQUA", "Equalization"},
    {"ETCO", "Event timing codes"},
    {"GEOB", "General encapsulated object"},
    {"GRID", "Group identification registration"},
    {"IPLS", "Involved people list"},
    {"LINK", "Linked information"},
    {"MCDI", "Music CD identifier"},
    {"MLLT", "MPEG location lookup table"},
    {"OWNE", "Ownership frame"},
    {"PRIV", "Private frame"},
    {"PCNT", "Play counter"},
    {"POPM", "Popularimeter"},
    {"POSS", "Position synchronisation frame"},
    {"RBUF", "Recommended buffer size"},
    {"RVAD", "Relative volume adjustment"},
    {"RVRB", "Reverberation"},
    {"SYLT", "Synchronized lyrics"},
    {"SYTC", "Album"},
    {"TOAL", "Album"},
    {"TALB", "Album"},
    {"TBPM", "BPM"},
    {"TCOM", "Composer"},
    {"TCON", "Genre"},
    {"TCOP", "Copyright"},
    {"TDAT", "Date"},
    {"TDLY", "Playlist delay"},
    {"TENC", "Encoded by"},
    {"TEXT", "Lyricist"},
    {"TFLT", "File type"},
    {"TIME", "Time"},
    {"TIT1", "Content group description"},
    {"TIT2", "Title"},
    {"TIT3", "Subtitle"},
    {"TKEY", "Initial key"},
    {"TLAN", "Language"},
    {"TLEN", "Length"},
    {"TMED", "Media type"},
    {"TOFN", "Original filename"},
    {"TOLY", "Original lyricist"},
    {"TOPE", "Original performer"},
    {"TORY", "Original release year"},
    {"TOWN", "File owner"},
    {"TPE1", "Performer"},
    {"TPE2", "Band"},
    {"TPE3", "Conductor"},
    {"TPE4", "Interpreted/remixed by"},
    {"TPOS", "Part of a set"},
    {"TPUB", "Publisher"},
    {"TRCK", "Track number"},
    {"TRDA", "Recording dates"},
    {"TRSN", "Internet radio station name"},
    {"TRSO", "Internet radio station owner"},
    {"TSIZ", "Size"},
    {"TSRC", "International standard recording code"},
    {"TSSE", "SW/HW and settings used for encoding"},
    {"TYER", "Year"},
    {"TXXX", "User-defined text information frame"},
    {"UFID", "Unique file identifier"},
    {"USER", "Terms of use"},
    {"USLT", "Unsychronized lyrics"},
    {"WCOM", "Commercial information"},
    {"WCOP", "Copyright"},
    {"WOAF", "Official audio file webpage"},
    {"WOAR", "Official performer webpage"},
    {"WOAS", "Official audio source webpage"},
    {"WORS", "Official internet radio station homepage"},
    {"WPAY", "Payment"},
    {"WPUB", "Publishers official webpage"},
    {"WXXX", "User defined URL link frame"},
};
static_assert(std::size(framedescriptions) == 74);

}  // namespace

std::string framedescription(const FrameId& id)
{
    for (const FrameDescription& d : framedescriptions)
        if (std::memcmp(d.id, id.data(), id.size()) == 0)
            return d.text;
    return idtext(id);
}

}  // namespace qc
