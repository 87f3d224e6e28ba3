// Prints the save time of a file of about 200 MB (the frames of a short
// encoder file repeated) with one frame cut at each end, beside the time
// cp takes to copy the same file, in the same run and with a warm cache.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "save_rig.h"

namespace {

using namespace qcbench;

// The frames of the sample without its tags, repeated to about bytes.
bool makebigfile(const std::string& sample, const std::string& big, std::size_t bytes)
{
    const SampleFrames s(sample);
    if (s.empty())
        return false;
    FILE* out = std::fopen(big.c_str(), "wb");
    if (!out)
        return false;
    for (std::size_t written = 0; written < bytes; written += s.end - s.first)
        std::fwrite(s.all.data() + s.first, 1, s.end - s.first, out);
    return std::fclose(out) == 0;
}

qc::LoadedFile file;

}  // namespace

int main(int argc, char** argv)
{
    std::string sample = argc > 1 ? argv[1] : QC_SAMPLE;
    std::string big = argc > 2 ? argv[2] : "/tmp/quillcut-bench-save.mp3";
    std::string target = big + ".saved.mp3", copy = big + ".cp.mp3";
    if (!makebigfile(sample, big, 200u * 1000u * 1000u)) {
        std::fprintf(stderr, "cannot build %s from %s\n", big.c_str(), sample.c_str());
        return 1;
    }

    SaveRig rig(file, target);
    qc::Writer& writer = rig.writer;
    writer.exact = false;  // the byte-for-byte copy; exact_bench times exact output
    if (!rig.load(big))
        return 1;

    double bestcp = 1e9, bestsave = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double cp = timecp(big, copy);
        if (cp < 0)
            return 1;
        bestcp = std::min(bestcp, cp);
        // each save right after its load, as in the window: through the
        // load's map, which the save lets go (the load is not timed)
        if (!rig.load(big))
            return 1;
        auto t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestsave = std::min(bestsave, seconds(t0));
        if (!writer.saveok)
            return 1;
    }
    std::printf("file: %s, %lld bytes, %lld frames\n", big.c_str(), static_cast<long long>(file.filesize), static_cast<long long>(file.framecount));
    std::printf("cp of the file (warm, best of 5):         %.3f s\n", bestcp);
    std::printf("save, one frame cut at each end (best of 5): %.3f s  (%.2f x cp), %lld bytes\n", bestsave,
                bestsave / bestcp, static_cast<long long>(writer.byteswritten));
    qc::deletefile(target);
    qc::deletefile(copy);
    qc::deletefile(big);
    return 0;
}
