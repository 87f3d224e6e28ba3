// Prints the load time of a file of about 500,000 frames (some 200 MB, made
// by repeating the frames of a short encoder file) beside the time a plain
// read of the same file takes, both with a warm cache.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "shell/load_command.h"
#include "stream/mapped_file.h"
#include "shell/cut_positions.h"
#include "quiet_platform.h"
#include "ui/main_form.h"

namespace {

using namespace qcbench;

double readall(const std::string& path)
{
    auto t0 = std::chrono::steady_clock::now();
    int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> buf(1 << 17);
    while (::read(fd, buf.data(), buf.size()) > 0) {
    }
    ::close(fd);
    return seconds(t0);
}

qc::LoadedFile file;

}  // namespace

int main(int argc, char** argv)
{
    std::string sample = argc > 1 ? argv[1] : QC_SAMPLE;
    std::string big = argc > 2 ? argv[2] : "/tmp/quillcut-bench-500k.mp3";
    const int target = 500000;

    // the frames of the sample without its tags, repeated
    {
        FILE* in = std::fopen(sample.c_str(), "rb");
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", sample.c_str());
            return 1;
        }
        std::vector<unsigned char> all;
        int c;
        while ((c = std::fgetc(in)) != EOF)
            all.push_back(static_cast<unsigned char>(c));
        std::fclose(in);
        std::size_t first = 0;
        while (first + 1 < all.size() && !(all[first] == 0xFF && all[first + 1] == 0xFB))
            ++first;
        std::size_t end = all.size() >= 128 && all[all.size() - 128] == 'T' ? all.size() - 128 : all.size();
        std::vector<unsigned char> body(all.begin() + static_cast<long>(first), all.begin() + static_cast<long>(end));
        FILE* out = std::fopen(big.c_str(), "wb");
        ui::MainForm form;
        qc::CutPositions cuts(file, form);
        NoBox box;
        NoPump pump;
        NoMeasure measure;
        qc::LoadCommand probe(file, form, cuts, box, pump, measure);
        file.sourcename = sample;
        probe.scanfile(true);
        int perbody = file.framecount;
        for (int written = 0; written < target; written += perbody)
            std::fwrite(body.data(), 1, body.size(), out);
        std::fclose(out);
    }

    ui::MainForm form;
    qc::CutPositions cuts(file, form);
    NoBox box;
    NoPump pump;
    NoMeasure measure;
    qc::LoadCommand scanner(file, form, cuts, box, pump, measure);
    form.trymenu.setchecked(true);
    file.sourcename = big;

    readall(big);  // warm the cache
    double best_read = 1e9, best_load = 1e9;
    for (int run = 0; run < 3; ++run) {
        best_read = std::min(best_read, readall(big));
        auto t0 = std::chrono::steady_clock::now();
        scanner.scanfile(true);
        best_load = std::min(best_load, seconds(t0));
    }
    std::printf("file: %s, %lld bytes, %lld frames, loaded: %s\n", big.c_str(), static_cast<long long>(file.filesize),
                static_cast<long long>(file.framecount), file.loadok ? "yes" : "no");
    std::printf("read whole file (warm): %.3f s\n", best_read);
    std::printf("load (warm):            %.3f s  (%.2f x read)\n", best_load, best_load / best_read);
    std::fflush(stdout);
    std::string cat = "for i in 1 2 3; do /usr/bin/time -f 'cat FILE >/dev/null: %e s' cat '" + big + "' >/dev/null; done";
    return std::system(cat.c_str()) == 0 ? 0 : 1;
}
