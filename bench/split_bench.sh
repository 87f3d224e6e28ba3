#!/usr/bin/env bash
# The split of long recordings, in one run: `quillcut-cli split --silence`
# of a one-hour lame -V2 recording (pieces of 3 to 5 minutes with gaps of
# 2 s: digital silence, noise, hiss, hum) beside mp3splt's silence split of
# the same file, and a 24-hour recording split `--every 3600` (and
# `--silence`) beside `cp` of it. mp3splt (Debian package mp3splt) is only
# the yardstick here. Medians of rounds that alternate the commands
# (bench/alternate.py).
#
#   bench/split_bench.sh [WORKDIR]      (default /tmp/quillcut-split-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-/tmp/quillcut-split-bench}
mkdir -p "$work"
build=build/bench
for tool in sox lame mp3splt cp python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install $tool)" >&2; exit 1; }
done
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQC_TESTS=OFF -DQC_GUI=OFF \
    -DCMAKE_CXX_FLAGS=-Wno-error=restrict "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target quillcut-cli >/dev/null
cli=$PWD/$build/quillcut-cli

hour=$work/hour.mp3
if [ ! -s "$hour" ]; then
    (
        cd "$work"
        # five pieces of music (pink noise swelling under tones), each followed by a gap
        sig=("sine 440 sine 660" "square 220" "sine 200-2000" "sawtooth 110" "triangle 330")
        rates=(3 5 2 4 6)
        gaps=("trim 0 2" "synth 2 whitenoise vol 0.001" "synth 2 whitenoise highpass 3000 vol 0.004"
            "synth 2 sine 50 sine 100 vol 0.0013" "trim 0 2")
        for i in 0 1 2 3 4; do
            len=$((180 + 30 * i))
            sox -R -n -r 44100 -c 2 a.wav synth $len pinknoise tremolo ${rates[$i]} 70 vol 0.3
            sox -R -n -r 44100 -c 2 b.wav synth $len ${sig[$i]} vol 0.1
            sox -R -n -r 44100 -c 2 g.wav ${gaps[$i]}
            sox -m a.wav b.wav m.wav
            sox m.wav g.wav "u$i.wav"
        done
        # fifteen pieces: about an hour
        sox u0.wav u1.wav u2.wav u3.wav u4.wav u0.wav u1.wav u2.wav u3.wav u4.wav \
            u0.wav u1.wav u2.wav u3.wav u4.wav -t wav - | lame --quiet -V2 - hour.mp3
        rm -f a.wav b.wav g.wav m.wav u?.wav
    )
fi
day=$work/day.mp3
if [ ! -s "$day" ]; then
    # the hour's frames without its Info frame, 24 times: one stream of a day
    "$cli" cut "$hour" --byte-exact --start-frames 1 -o "$work/body.mp3" >/dev/null
    for _ in $(seq 24); do cat "$work/body.mp3"; done > "$day"
    rm -f "$work/body.mp3"
fi
ls -l "$hour" "$day" | awk '{ print $5, $9 }'
"$cli" split "$hour" --silence --dry-run --output-dir "$work/q" | head -n 1

cat "$hour" "$day" > /dev/null  # warm
# mp3splt keeps what its silence detection found in mp3splt.log (in the
# folder it runs in) and reads it instead of decoding when it is there
python3 bench/alternate.py "one hour (lame -V2): split at the gaps" 3 "rm -rf $work/q $work/m mp3splt.log" \
    "mp3splt -q -s -p th=-40,min=1 -d $work/m $hour" \
    "$cli split $hour --silence --output-dir $work/q"
python3 bench/alternate.py "24 hours: split every hour" 3 "rm -rf $work/q $work/copy.mp3" \
    "cp $day $work/copy.mp3" \
    "$cli split $day --every 3600 --output-dir $work/q" \
    "$cli split $day --silence --output-dir $work/q"
rm -rf "$work/q" "$work/m" "$work/copy.mp3" mp3splt.log
