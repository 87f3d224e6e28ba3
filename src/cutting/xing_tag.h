// The first frame of a lame-style stream: a frame of silence (all-zero side
// information) whose main-data area holds a Xing ("Xing" for VBR, "Info"
// for CBR) header with the LAME extension, or a Fraunhofer VBRI header.
// Offsets are from the frame's first header byte, integers big-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qc {

// The LAME extension is 36 bytes from the id + 120 on.
inline constexpr int lameoffset = 120;
inline constexpr int lamesize = 36;
// Within it: delay and padding (12 bits each), music length, the two CRCs.
inline constexpr int lamedelay = 21;
inline constexpr int lamemusiclength = 28;
inline constexpr int lamemusiccrc = 32;
inline constexpr int lametagcrc = 34;

struct XingTag {
    enum class Kind { Xing, Info, Vbri };
    Kind kind = Kind::Xing;
    int idoffset = 36;
    std::uint32_t flags = 0;
    std::uint32_t frames = 0, bytes = 0;  // as stored, when flagged
    std::array<std::uint8_t, 100> toc{};
    std::uint32_t quality = 0;
    // The extension's bytes, when its encoder string names an encoder whose
    // delay and padding the decoders apply (LAME, Lavf, Lavc).
    bool haslame = false;
    std::array<std::uint8_t, lamesize> lame{};
    int delay = 0, padding = 0;
};

// The tag of the frame that begins at frame[0] (n bytes of it); nullopt when
// it holds none. The id is looked for right after the side information, and
// two bytes later in a frame with a CRC word.
std::optional<XingTag> readxingtag(const std::uint8_t* frame, std::size_t n);

// What a new tag frame says. lame holds the extension's other fields (from
// the source's tag, or made up); delay, padding, music length and both CRCs
// are filled in here.
struct TagFrameSpec {
    std::array<std::uint8_t, 4> header{};  // without CRC word; its version places the tag
    std::size_t length = 0;                // the frame's length from its header
    bool info = false;                     // "Info" rather than "Xing"
    std::uint32_t frames = 0, bytes = 0;
    std::array<std::uint8_t, 100> toc{};
    std::uint32_t quality = 0;
    std::array<std::uint8_t, lamesize> lame{};
    int delay = 0, padding = 0;
    std::uint16_t musiccrc = 0;
};

// Where the id of a tag frame lies: after the header and the side
// information (MPEG-1: 21 mono, 36 otherwise; MPEG-2 and 2.5: 13 and 21).
std::size_t tagidoffset(std::uint8_t versionbits, bool mono);

// The bytes that a tag frame needs: the id offset plus id, counts, TOC,
// quality and the extension.
std::size_t tagframeneed(bool mono);
std::size_t tagframeneed(std::uint8_t versionbits, bool mono);

// The frame; empty when spec.length is below tagframeneed.
std::vector<std::uint8_t> buildtagframe(const TagFrameSpec& spec);

// The extension of a tag made for a stream that had none: encoder "LAME3.100"
// (so that the decoders honour delay and padding) and nothing else claimed.
std::array<std::uint8_t, lamesize> plainlameextension(bool cbr);

// TOC entry i = min(255, 256 * offset of frame floor(i * frames / 100) / bytes),
// offsets from the tag frame's start; offset(k) gives that of audio frame k.
template <class Offset>
std::array<std::uint8_t, 100> maketoc(std::uint32_t frames, std::uint32_t bytes, Offset offset)
{
    std::array<std::uint8_t, 100> toc{};
    for (int i = 0; i < 100 && bytes > 0; ++i) {
        std::uint64_t k = std::uint64_t{static_cast<std::uint32_t>(i)} * frames / 100;
        std::uint64_t v = 256 * static_cast<std::uint64_t>(offset(k)) / bytes;
        toc[i] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
    }
    return toc;
}

}  // namespace qc
