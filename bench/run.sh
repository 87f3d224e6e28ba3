#!/usr/bin/env bash
# Builds a Release tree and prints, in one run, the load and the save of a
# 500,000-frame file (209 MB) as whole processes beside the tools a user
# would compare them with, warm and (as root) cold, and the window
# program's Open beside the engine's load. Figures are medians of several
# rounds in which the commands take turns (bench/alternate.py): the machine
# drifts, so commands timed one after another would meet different machines.
#
#   bench/run.sh [WORKDIR]        (default /tmp/quillcut-bench)
#
# The saves are timed both ways quillcut-cli writes: --byte-exact (the
# kept frames copied byte for byte) and the default exact output (a new
# VBR/gapless tag with the CRC of the audio). A save to a new name is set
# beside cp to a new name (neither is flushed to the disk); a save over an
# existing file, which quillcut-cli flushes before the rename that makes it
# take the name, beside cp followed by sync of that file.
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-/tmp/quillcut-bench}
mkdir -p "$work"
build=build/bench

# GCC 12 at -O3 reports a false -Wrestrict inside std::string's operator+
# (ui/gain_strip.cpp); it is kept a warning in this tree only.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQC_TESTS=OFF -DQC_GUI=ON \
    -DCMAKE_CXX_FLAGS=-Wno-error=restrict "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target quillcut-cli load_bench save_bench exact_bench window_load defaultini >/dev/null

cli=$PWD/$build/quillcut-cli
big=$work/500k.mp3
# load_bench writes the file (the frames of a sample, repeated) and prints its own in-process figures
"$build/bench/load_bench" samples/tone44-cbr128.mp3 "$big" | sed 's/^/load_bench: /'

for tool in mp3val dd cp python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

cut1="--start-frames 1 --end-frames 1"
newsaves=("cp $big $work/copy.mp3"
    "$cli cut $big -o $work/saved.mp3 $cut1 --byte-exact"
    "$cli cut $big -o $work/exact.mp3 $cut1")
printf '#!/bin/sh\ncp "$1" "$2" && sync "$2"\n' > "$work/cpsync.sh"
chmod +x "$work/cpsync.sh"
oversaves=("$work/cpsync.sh $big $work/copy.mp3"
    "$cli cut $big -o $work/saved.mp3 $cut1 --byte-exact"
    "$cli cut $big -o $work/exact.mp3 $cut1")
rmouts="rm -f $work/copy.mp3 $work/saved.mp3 $work/exact.mp3"
run() {  # run LABEL RUNS PREPARE
    local label=$1 runs=$2 prepare=$3
    bench/alternate.py "load, $label (median of $runs; ratio to dd bs=1M)" "$runs" "$prepare" \
        "dd if=$big of=/dev/null bs=1M" "mp3val $big" "$cli info $big"
    bench/alternate.py "save to a new name, one frame cut at each end, $label (median of $runs; ratio to cp)" \
        "$runs" "$rmouts; $prepare" "${newsaves[@]}"
    bench/alternate.py "save over an existing file, flushed, $label (median of $runs; ratio to cp && sync)" \
        "$runs" "$prepare" "${oversaves[@]}"
}

echo
echo "save alone, after the load, in one process (warm cache):"
"$build/bench/save_bench" samples/tone44-cbr128.mp3 "$work/save-src.mp3" | sed 's/^/  /'
"$build/bench/exact_bench" samples/tone44-cbr128.mp3 "$work/exact-src.mp3" | sed 's/^/  /'
rm -f "$work/save-src.mp3" "$work/exact-src.mp3"

run "warm cache" 15 "true"
uptime
if [ "$(id -u)" = 0 ] && [ -w /proc/sys/vm/drop_caches ]; then
    run "cold cache" 5 "sync; echo 3 > /proc/sys/vm/drop_caches"
else
    echo "(cold cache skipped: dropping the page cache needs root)"
fi

echo
echo "window program, warm cache (5 fresh processes of 3 Opens each):"
for i in 1 2 3 4 5; do
    QT_QPA_PLATFORM=offscreen "$build/bench/window_load" "$big" 3 2>/dev/null
done > "$work/window.txt"
python3 - "$work/window.txt" "$cli" "$big" <<'PY'
import re, statistics, subprocess, sys, time
text = open(sys.argv[1]).read()
first = [float(x) for x in re.findall(r"first window Open, offscreen: ([0-9.]+)", text)]
later = [float(x) for x in re.findall(r"window Open, offscreen \(median of \d+\): ([0-9.]+)", text)]
engine = [float(x) for x in re.findall(r"engine load, no window \(median of \d+\): ([0-9.]+)", text)]
if not first or not engine:
    print("  window_load printed no figures"); sys.exit(0)
e = statistics.median(engine)
print(f"  first Open of a fresh process:  {statistics.median(first):.3f} s  {statistics.median(first) / e:.2f} x engine load")
print(f"  later Opens (median):           {statistics.median(later):.3f} s  {statistics.median(later) / e:.2f} x engine load")
print(f"  engine load, same processes:    {e:.3f} s")
# the command-line tool's load, as a user meets it: a whole process
cli = []
for _ in range(9):
    t = time.perf_counter()
    subprocess.run([sys.argv[2], "info", sys.argv[3]], stdout=subprocess.DEVNULL, check=True)
    cli.append(time.perf_counter() - t)
c = statistics.median(cli)
print(f"  quillcut-cli info, whole process: {c:.3f} s; first Open {statistics.median(first) / c:.2f} x, later Opens {statistics.median(later) / c:.2f} x")
PY
rm -f "$work/saved.mp3" "$work/exact.mp3" "$work/copy.mp3" "$work/window.txt" "$work/cpsync.sh"