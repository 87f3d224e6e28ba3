// Prints the exact-mode save time of a file of 500,000 frames (the frames of
// a short encoder file repeated) with one frame cut at each end, beside the
// byte-for-byte save and the time cp takes to copy the same file, in the
// same run and with a warm cache.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "save_rig.h"
#include "stream/frame_header.h"

namespace {

using namespace qcbench;

// The frames of the sample without its tags, repeated to `frames` frames.
bool makebigfile(const std::string& sample, const std::string& big, std::size_t frames)
{
    const SampleFrames s(sample);
    if (s.empty())
        return false;
    // the sample's frames, walked by the scanner's own rule
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t p = s.first; p + 4 <= s.end;) {
        if (!(s.all[p] == 0xFF && (s.all[p + 1] & 0xFE) == 0xFA))
            break;
        qc::SampleRate rate;
        if (!qc::samplerate(s.all[p + 2], rate) || qc::kbpstable[s.all[p + 2] >> 4] < 2)
            break;
        std::size_t len =
            static_cast<std::size_t>(qc::framelength(s.all[p + 2] >> 4, s.all[p + 2] & 2, rate.framesizefactor));
        if (p + len > s.end)
            break;
        spans.push_back({p, len});
        p += len;
    }
    if (spans.empty())
        return false;
    FILE* out = std::fopen(big.c_str(), "wb");
    if (!out)
        return false;
    for (std::size_t k = 0; k < frames; ++k)
        std::fwrite(s.all.data() + spans[k % spans.size()].first, 1, spans[k % spans.size()].second, out);
    return std::fclose(out) == 0;
}

qc::LoadedFile file;

}  // namespace

int main(int argc, char** argv)
{
    std::string sample = argc > 1 ? argv[1] : QC_SAMPLE;
    std::string big = argc > 2 ? argv[2] : "/tmp/quillcut-bench-exact.mp3";
    std::string target = big + ".saved.mp3", copy = big + ".cp.mp3";
    if (!makebigfile(sample, big, 500000)) {
        std::fprintf(stderr, "cannot build %s from %s\n", big.c_str(), sample.c_str());
        return 1;
    }

    SaveRig rig(file, target);
    if (!rig.load(big))
        return 1;
    qc::Writer& writer = rig.writer;

    double bestcp = 1e9, bestsave = 1e9, bestbytes = 1e9, bestbefore = 1e9;
    std::int64_t exactbytes = 0, copybytes = 0;
    for (int run = 0; run < 5; ++run) {
        const double cp = timecp(big, copy);
        if (cp < 0)
            return 1;
        bestcp = std::min(bestcp, cp);
        // each save right after its load, as in the window: through the
        // load's map, which the save lets go (the load is not timed)
        writer.exact = true;
        if (!rig.load(big))
            return 1;
        auto t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestsave = std::min(bestsave, seconds(t0));
        if (!writer.saveok)
            return 1;
        exactbytes = writer.byteswritten;
        // the music CRC in its own pass before the copy
        writer.crcpass = qc::CrcPass::Before;
        if (!rig.load(big))
            return 1;
        t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestbefore = std::min(bestbefore, seconds(t0));
        writer.crcpass = qc::CrcPass::Beside;
        if (!writer.saveok || writer.byteswritten != exactbytes)
            return 1;
        writer.exact = false;
        if (!rig.load(big))
            return 1;
        t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestbytes = std::min(bestbytes, seconds(t0));
        if (!writer.saveok)
            return 1;
        copybytes = writer.byteswritten;
    }
    std::printf("file: %s, %lld bytes, %lld frames\n", big.c_str(), static_cast<long long>(file.filesize), static_cast<long long>(file.framecount));
    std::printf("cp of the file (warm, best of 5):                  %.3f s\n", bestcp);
    std::printf("exact save, one frame cut at each end (best of 5): %.3f s  (%.2f x cp), %lld bytes\n", bestsave,
                bestsave / bestcp, static_cast<long long>(exactbytes));
    std::printf("  the same, its CRC pass before the copy:         %.3f s  (%.2f x cp)\n", bestbefore,
                bestbefore / bestcp);
    std::printf("byte-for-byte save, same cuts (best of 5):         %.3f s  (%.2f x cp), %lld bytes\n", bestbytes,
                bestbytes / bestcp, static_cast<long long>(copybytes));
    qc::deletefile(target);
    qc::deletefile(copy);
    qc::deletefile(big);
    return 0;
}
