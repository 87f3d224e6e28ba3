#!/usr/bin/env bash
# The window program at 200 % scaling (QT_SCALE_FACTOR=2 on a 2560x1440
# X server, a 1280x720 logical screen) under a real window manager (its own
# Xvfb and openbox, never the user's display): a window stored where it
# fits opens with its frame exactly there, scaled; one stored so low that
# its frame would leave the screen is pulled up until the whole frame shows,
# title bar first; and closing it stores the position read, not the place
# it was shown at.
#
#   window_scaled_test.sh QUILLCUT WORKDIR
# Exit 77 (skipped) when Xvfb, openbox or xdotool is missing.
set -u
program=$1
work=$2
for tool in Xvfb openbox xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/x_session.sh"
xsession 2560x1440
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 ASAN_OPTIONS=detect_leaks=0

frame() {  # left top width height of the window's frame, in the screen's pixels
    xwininfo -id "$1" | awk '/Absolute upper-left X/{ax=$NF} /Absolute upper-left Y/{ay=$NF}
        /Relative upper-left X/{rx=$NF} /Relative upper-left Y/{ry=$NF}
        /^  Width:/{w=$NF} /^  Height:/{h=$NF}
        END{print ax-rx, ay-ry, w+2*rx, h+ry+rx}'
}
run() {  # starts the program, leaves the main window's frame in $left $top $width $height
    "$work/quillcut" 2>"$work/err-$1.txt" &
    pid=$!
    pids+=($pid)
    win=$(waitwindow Quillcut) || fail "$1: no main window"
    read -r left top width height < <(frame "$win")
}
unchanged() {
    for f in "$work/mp3qc.ini" "$work/home/.config/quillcut/mp3qc.ini"; do
        cmp -s "$f" "$work/expected.ini" || fail "$1: $f changed: $(cmp "$f" "$work/expected.ini")"
    done
}

# Where it fits: the frame's corner at twice the stored place (the frame's
# border may take half a logical pixel: one screen pixel either way).
settings 60 100
run fits
[ $((left - 200)) -ge -1 ] && [ $((left - 200)) -le 1 ] && [ "$top" = 120 ] ||
    fail "fits: frame at $left,$top, not at 200,120"
[ "$height" -lt 1440 ] || fail "fits: the window is $height pixels high, taller than the screen"
closewindow "$win" "$pid" || fail "fits: the program did not end on close"
unchanged fits

# Stored as low and as far right as the window's own size allows, without
# its menu bar and frame (the program's own rule for stored positions lets
# that pass): the whole frame is pulled onto the screen, the title bar
# shows, and closing stores what was read.
settings 178 980
run low
[ "$top" -ge 0 ] || fail "low: the title bar is above the screen (frame top $top)"
[ $((top + height)) -le 1440 ] || fail "low: the frame ends at $((top + height)), below the screen's 1440"
[ $((left + width)) -le 2560 ] || fail "low: the frame ends at $((left + width)), right of the screen's 2560"
closewindow "$win" "$pid" || fail "low: the program did not end on close"
unchanged low
echo "1 passed, 0 failed"
