#!/usr/bin/env bash
# Takes the pictures in docs/screenshots again, as a desktop shows the
# windows: under an X server of its own (Xvfb) with a window manager
# (openbox), so that the frames and title bars are in the pictures, once
# with the default light palette and once with a dark one. Never uses the
# user's display. Not part of the tests.
#
#   tools/desktop_screenshots.sh [BUILD_DIR] [OUTDIR]
# BUILD_DIR defaults to build/dev, OUTDIR to docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=${2:-docs/screenshots}
source tools/packages.sh
qc_install "${QC_BUILD_PACKAGES[@]}" xvfb openbox sox lame
cmake --build "$build" --target screenshots defaultini -j2
tool=$build/src/qt/screenshots

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
exec 3>&-
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
mkdir -p "$work/run" && chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" HOME="$work" XDG_CONFIG_HOME="$work/.config"
export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

# A tape side for the Tracks window: three pieces (a tone with tremolo, pink
# noise, a chord) with two seconds of digital silence between them, lame -V2.
sox -n -r 44100 -c 2 -b 16 "$work/a.wav" synth 11 sine 330 tremolo 3 60 vol 0.5
sox -n -r 44100 -c 2 -b 16 "$work/b.wav" synth 9 pinknoise vol 0.25
sox -n -r 44100 -c 2 -b 16 "$work/c.wav" synth 12 sine 440 sine 554 fade 0 12 4 vol 0.5
sox -n -r 44100 -c 2 -b 16 "$work/gap.wav" trim 0 2
sox "$work/a.wav" "$work/gap.wav" "$work/b.wav" "$work/gap.wav" "$work/c.wav" "$work/tape.wav"
lame --quiet -V2 "$work/tape.wav" "$work/tape.mp3"

"$tool" "$out" --tape "$work/tape.mp3"
"$tool" "$out" --dark --tape "$work/tape.mp3"
