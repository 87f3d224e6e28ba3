#include "tags/track_tag.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>

namespace qc {

namespace {

// Text from a cue sheet or the command line: UTF-8 as a rule, but older
// cue sheets are often Latin-1, whose bytes are no valid UTF-8.
bool validutf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

TagLib::String utf8(const std::string& s)
{
    return TagLib::String(s, validutf8(s) ? TagLib::String::UTF8 : TagLib::String::Latin1);
}

std::vector<std::uint8_t> bytes(const TagLib::ByteVector& v)
{
    return std::vector<std::uint8_t>(v.begin(), v.end());
}

void settext(TagLib::ID3v2::Tag& tag, const char* id, const std::string& value)
{
    tag.removeFrames(id);
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::Latin1);  // TagLib takes UTF-8 where Latin-1 cannot hold the text
    frame->setText(utf8(value));
    tag.addFrame(frame);  // the tag owns it
}

}  // namespace

std::vector<std::uint8_t> trackid3v2(std::span<const std::uint8_t> sourcetag, const TrackTagFields& fields)
{
    // the source's tag read from its bytes alone: nothing of the file is opened
    TagLib::ByteVector data(reinterpret_cast<const char*>(sourcetag.data()),
                            static_cast<unsigned int>(sourcetag.size()));
    TagLib::ByteVectorStream stream(data);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag* tag = file.isValid() ? file.ID3v2Tag(true) : nullptr;
    TagLib::ID3v2::Tag fresh;
    if (tag == nullptr)
        tag = &fresh;
    // frames whose times are the source's
    for (const char* id : {"CHAP", "CTOC", "SYLT", "ETCO", "SYTC", "MLLT", "SEEK", "ASPI", "TRCK", "TIT2"})
        tag->removeFrames(id);
    const bool length = !tag->frameList("TLEN").isEmpty();
    settext(*tag, "TIT2", fields.title);
    settext(*tag, "TRCK", std::to_string(fields.number) + "/" + std::to_string(fields.count));
    if (!fields.performer.empty())
        settext(*tag, "TPE1", fields.performer);
    if (!fields.album.empty())
        settext(*tag, "TALB", fields.album);
    if (length)
        settext(*tag, "TLEN", std::to_string(fields.milliseconds));
    return bytes(tag->render(TagLib::ID3v2::v4));
}

std::vector<std::uint8_t> trackid3v1(std::span<const std::uint8_t> sourcetag, const TrackTagFields& fields)
{
    TagLib::ByteVector data(reinterpret_cast<const char*>(sourcetag.data()),
                            static_cast<unsigned int>(sourcetag.size()));
    TagLib::ByteVectorStream stream(data);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v1::Tag made;
    if (const TagLib::ID3v1::Tag* source = file.isValid() ? file.ID3v1Tag(false) : nullptr) {
        made.setArtist(source->artist());
        made.setAlbum(source->album());
        made.setYear(source->year());
        made.setComment(source->comment());
        made.setGenre(source->genre());
    }
    made.setTitle(utf8(fields.title));
    made.setTrack(static_cast<unsigned int>(fields.number > 0 && fields.number < 256 ? fields.number : 0));
    if (!fields.performer.empty())
        made.setArtist(utf8(fields.performer));
    if (!fields.album.empty())
        made.setAlbum(utf8(fields.album));
    return bytes(made.render());
}

}  // namespace qc
