// Prints the exact-mode save time of a file of 500,000 frames (the frames of
// a short encoder file repeated) with one frame cut at each end, beside the
// byte-for-byte save and the time cp takes to copy the same file, in the
// same run and with a warm cache.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/load_command.h"
#include "shell/cut_positions.h"
#include "shell/writer.h"
#include "stream/frame_header.h"
#include "quiet_platform.h"
#include "ui/main_form.h"

namespace {

using namespace qcbench;

struct NamedTarget : ui::DialogRunner {
    std::string name;
    bool execute(ui::FileDialog& d) override
    {
        d.filename = name;
        return true;
    }
};

std::vector<unsigned char> readfile(const std::string& path)
{
    std::vector<unsigned char> all;
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return all;
    int c;
    while ((c = std::fgetc(in)) != EOF)
        all.push_back(static_cast<unsigned char>(c));
    std::fclose(in);
    return all;
}

// The frames of the sample without its tags, repeated to `frames` frames.
bool makebigfile(const std::string& sample, const std::string& big, std::size_t frames)
{
    std::vector<unsigned char> all = readfile(sample);
    std::size_t first = 0;
    while (first + 1 < all.size() && !(all[first] == 0xFF && (all[first + 1] & 0xFE) == 0xFA))
        ++first;
    std::size_t end = all.size() >= 128 && all[all.size() - 128] == 'T' ? all.size() - 128 : all.size();
    if (first >= end)
        return false;
    FILE* out = std::fopen(big.c_str(), "wb");
    if (!out)
        return false;
    // the sample's frames, walked by the scanner's own rule
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t p = first; p + 4 <= end;) {
        if (!(all[p] == 0xFF && (all[p + 1] & 0xFE) == 0xFA))
            break;
        qc::SampleRate rate;
        if (!qc::samplerate(all[p + 2], rate) || qc::kbpstable[all[p + 2] >> 4] < 2)
            break;
        std::size_t len = static_cast<std::size_t>(qc::framelength(all[p + 2] >> 4, all[p + 2] & 2, rate.framesizefactor));
        if (p + len > end)
            break;
        spans.push_back({p, len});
        p += len;
    }
    if (spans.empty())
        return false;
    for (std::size_t k = 0; k < frames; ++k)
        std::fwrite(all.data() + spans[k % spans.size()].first, 1, spans[k % spans.size()].second, out);
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

    ui::MainForm form;
    qc::CutPositions cuts(file, form);
    cuts.wire();
    NoBox box;
    NoPump pump;
    NoMeasure measure;
    NamedTarget dialogs;
    dialogs.name = target;
    qc::LoadCommand scanner(file, form, cuts, box, pump, measure);
    qc::Writer writer(file, form, cuts, box, dialogs);
    form.trymenu.setchecked(true);
    file.sourcename = big;
    scanner.scanfile(true);
    if (!file.loadok)
        return 1;
    cuts.applycut(0, 1);
    cuts.applycut(1, 1);

    const std::string cp = "cp '" + big + "' '" + copy + "'";
    double bestcp = 1e9, bestsave = 1e9, bestbytes = 1e9, bestbefore = 1e9;
    std::int64_t exactbytes = 0, copybytes = 0;
    for (int run = 0; run < 5; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        if (std::system(cp.c_str()) != 0)
            return 1;
        bestcp = std::min(bestcp, seconds(t0));
        writer.exact = true;
        t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestsave = std::min(bestsave, seconds(t0));
        if (!writer.saveok)
            return 1;
        exactbytes = writer.byteswritten;
        // the music CRC in its own pass before the copy
        writer.crcpass = qc::CrcPass::Before;
        t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestbefore = std::min(bestbefore, seconds(t0));
        writer.crcpass = qc::CrcPass::Beside;
        if (!writer.saveok || writer.byteswritten != exactbytes)
            return 1;
        writer.exact = false;
        t0 = std::chrono::steady_clock::now();
        writer.savebutClick();
        bestbytes = std::min(bestbytes, seconds(t0));
        if (!writer.saveok)
            return 1;
        copybytes = writer.byteswritten;
    }
    std::printf("file: %s, %d bytes, %d frames\n", big.c_str(), file.filesize, file.framecount);
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
