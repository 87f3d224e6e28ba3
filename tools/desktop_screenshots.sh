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
qc_install "${QC_BUILD_PACKAGES[@]}" xvfb openbox
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

"$tool" "$out"
"$tool" "$out" --dark
