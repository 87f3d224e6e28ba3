#!/usr/bin/env bash
# Saves from the window under a real X server with a window manager (its
# own Xvfb and openbox, never the user's display), driven by the keyboard:
#  - typing 1 in the start box of a LAME-tagged file and saving removes
#    exactly one second, 44,100 samples (ffmpeg decodes of both files);
#  - after a save onto the source (the file dialog's question answered),
#    the keyboard focus is back in the main window: the window manager has
#    it active, and the next keys reach it.
#
#   exact_save_test.sh QUILLCUT WORKDIR SAMPLE.mp3
# SAMPLE.mp3 is a LAME-tagged file at 44.1 kHz of more than a second.
# Exit 77 (skipped) when Xvfb, openbox, xdotool or ffmpeg is missing.
set -u
program=$1
work=$2
sample=$3
for tool in Xvfb openbox xdotool xprop ffmpeg; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/x_session.sh"
xsession 1280x800
export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0
settings 60 100

decoded() {  # samples (per channel) of ffmpeg's decode of a stereo 16-bit file
    echo $(($(ffmpeg -v error -i "$1" -f s16le - | wc -c) / 4))
}
active() { xdotool getactivewindow 2>/dev/null; }
waitactive() {  # until the window manager has $1 active
    for _ in $(seq 50); do [ "$(active)" = "$1" ] && return 0; sleep 0.1; done
    return 1
}
waitgone() {  # until no visible window is titled $1
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
savedialog=" - choose target file - "

mkdir -p "$work/music"
source=$work/music/song.mp3
cp "$sample" "$source"
before=$(decoded "$source")

"$work/quillcut" "$source" 2>"$work/err.txt" &
pid=$!
pids+=($pid)
win=$(waitwindow Quillcut) || fail "no main window"
waitactive "$win" || fail "the main window is not active after its start"

# 1 in the start box (the focus is there after a load), then Save as into another file
xdotool type --delay 50 1
xdotool key --clearmodifiers ctrl+s
dialog=$(waitwindow "$savedialog") || fail "Ctrl+S showed no save dialog"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "$work/music/out.mp3"
xdotool key --clearmodifiers Return
waitgone "$savedialog" || fail "the save dialog did not close"
for _ in $(seq 50); do [ -s "$work/music/out.mp3" ] && break; sleep 0.1; done
sleep 0.5
after=$(decoded "$work/music/out.mp3")
[ "$((before - after))" = 44100 ] ||
    fail "typing 1 removed $((before - after)) samples ($before decoded before, $after after), not 44100"
waitactive "$win" || fail "after a save to another file the main window is not active ($(active), not $win)"

# Save as onto the source: the dialog proposes the source's name; the
# question whether to replace it is answered Yes
xdotool key --clearmodifiers ctrl+s
dialog=$(waitwindow "$savedialog") || fail "Ctrl+S showed no save dialog the second time"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "$source"
xdotool key --clearmodifiers Return
question=
for _ in $(seq 50); do
    question=$(xdotool search --onlyvisible --name "$savedialog" 2>/dev/null | grep -v "^$dialog\$" | head -1)
    [ -n "$question" ] && break
    sleep 0.1
done
[ -n "$question" ] || fail "no question before replacing the source"
sleep 0.5
xdotool key --clearmodifiers alt+y
waitgone "$savedialog" || fail "the save dialog did not close after the question"
for _ in $(seq 50); do
    [ "$(decoded "$source")" = "$after" ] && break
    sleep 0.1
done
[ "$(decoded "$source")" = "$after" ] || fail "the source does not hold the saved content"

# the focus is the main window's: active for the window manager, and keys
# typed now reach it (0.1 into the start box, then Ctrl+S opens the dialog)
waitactive "$win" || fail "after saving onto the source the active window is $(active), not the main window $win"
xdotool type --delay 50 0.1
xdotool key --clearmodifiers ctrl+s
dialog=$(waitwindow "$savedialog") || fail "after saving onto the source the keys did not reach the main window"
xdotool key --clearmodifiers Escape
waitgone "$savedialog" || fail "Escape did not close the save dialog"
waitactive "$win" || fail "after a cancelled save dialog the active window is $(active), not $win"

closewindow "$win" "$pid" || fail "the program did not end on close"
echo "1 passed, 0 failed"
