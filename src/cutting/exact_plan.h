// The exact output of a cut: which source frames to keep so that the kept
// audio decodes exactly as it does in the source, and the new first frame
// that tells the decoders where that audio begins and ends.
//
// Audio is counted on the source's own timeline: with a LAME tag the
// decoders play frames*samplesperframe - delay - padding samples (1152 a
// frame for MPEG-1, 576 for MPEG-2 and 2.5) starting 529 + delay samples
// into the decoded stream (529 is the delay of the decoder itself);
// without one they play every decoded sample. A frame's output depends on
// the frame before it and on the earlier bytes its main data starts in (the
// bit reservoir), so those frames are kept too and hidden with the delay;
// when more would be needed than the 12-bit delay can hide, one made-up
// frame of silence carries the reservoir bytes instead.
#pragma once

#include <cstdint>
#include <optional>

#include "cutting/copy_plan.h"
#include "cutting/output_plan.h"
#include "cutting/xing_tag.h"
#include "stream/binary_file.h"
#include "stream/error.h"
#include "stream/loaded_file.h"

namespace qc {

inline constexpr int decoderdelay = 529;

// Random access to the source's bytes (zero-based offsets).
class SourceBytes {
public:
    virtual ~SourceBytes() = default;
    virtual bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) = 0;
};

// The bytes of an open source file, read through it.
class FileBytes : public SourceBytes {
public:
    explicit FileBytes(BinaryFile& file) : file_(file) {}
    bool read(std::int64_t offset, std::uint8_t* buf, std::size_t n) override
    {
        file_.seek(offset);
        return file_.read(buf, n) == n && !file_.failed();
    }

private:
    BinaryFile& file_;
};

// Samples to trim from the timeline's ends, in place of that side's frame cut.
struct SampleCuts {
    std::optional<std::int64_t> start, end;
};

// What an exact output holds, for the user.
struct ExactSummary {
    std::int64_t samples = 0;   // audio samples the output plays
    std::int32_t samplerate = 44100;
    std::int64_t frames = 0;    // frames written, the tag frame included
    std::int32_t reservoirframes = 0;  // kept source frames whose audio is hidden
    bool carrier = false;              // a made-up frame carries reservoir bytes
    std::int32_t silentframes = 0;     // made-up frames of silence before the audio
    bool newtag = false;               // a tag frame written for this output
    int delay = 0, padding = 0;
    double seconds() const { return samplerate > 0 ? static_cast<double>(samples) / samplerate : 0; }
};

struct ExactPlan {
    OutputPlan output;
    // The tag frame's literal, and the pieces its music CRC covers; the
    // tag is built by finishexactplan once that CRC is known.
    int tagliteral = -1;
    std::size_t audiofrom = 0, audioto = 0;
    TagFrameSpec tag;
    ExactSummary summary;
};

struct ExactResult {
    std::optional<ExactPlan> plan;
    // why there is none: NothingKept, or Disk where the source could not be read
    Cause refusal = Cause::NothingKept;
};

// The plan for the loaded file's cuts (cutframes, or samples where given)
// and kept structures.
ExactResult makeexactplan(const LoadedFile& f, const KeptStructures& keep, const SampleCuts& samples,
                          SourceBytes& source);

// The same for other frame cuts than the record's.
struct FrameCuts {
    std::int64_t start = 0, end = 0;
};
ExactResult makeexactplan(const LoadedFile& f, const KeptStructures& keep, const SampleCuts& samples,
                          const FrameCuts& framecuts, SourceBytes& source);

// Puts the tag frame with its music CRC into the plan.
void finishexactplan(ExactPlan& plan, std::uint16_t musiccrc);

// The source's playing length in samples on its own timeline, and whether
// that is gapless; for the cut boxes and the command line.
struct SourceTimeline {
    bool tagframe = false;  // frame 0 is a Xing, Info or VBRI frame
    bool gapless = false;
    std::int64_t audioframes = 0;
    std::int64_t samples = 0;
    int delay = 0, padding = 0;
};
std::optional<SourceTimeline> sourcetimeline(const LoadedFile& f, SourceBytes& source);

}  // namespace qc
