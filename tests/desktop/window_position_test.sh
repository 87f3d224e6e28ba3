#!/usr/bin/env bash
# The window program under a real X server with a window manager (its own
# Xvfb and openbox, never the user's display): the main window opens with
# its frame (title bar and border included) exactly where the settings say,
# a toolbar change leaves its top edge where it is, the window manager
# offers no maximise button for it, and closing it stores the same bytes
# again, start after start. The silence detection window opens with its
# frame at its stored place too. Without a settings file the window opens
# at 0,0 after the reset message, and no settings file is made.
#
#   window_position_test.sh QUILLCUT WORKDIR SAMPLE.mp3
# Exit 77 (skipped) when Xvfb, openbox or xdotool is missing.
set -u
program=$1
work=$2
sample=$3
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/x_session.sh"
xsession 1280x800
export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0

# the main window at top 60, left 100; the silence detection window at 300,200
settings 60 100 300 200

frameposition() {  # left,top of the window's frame
    xwininfo -id "$1" | awk '/Absolute upper-left X/{ax=$NF} /Absolute upper-left Y/{ay=$NF}
        /Relative upper-left X/{rx=$NF} /Relative upper-left Y/{ry=$NF} END{print ax-rx "," ay-ry}'
}
height() { xwininfo -id "$1" | awk '/^  Height:/{print $NF}'; }
samebytes() {  # the window positions in the settings record, main and silence detection
    python3 - "$1" "$2" <<'PY'
import sys
a, b = (open(f, "rb").read() for f in sys.argv[1:3])
sys.exit(0 if len(a) == len(b) == 543 and a[512:520] == b[512:520] and a[535:543] == b[535:543] else 1)
PY
}
for round in 1 2 3; do
    "$work/quillcut" 2>"$work/err$round.txt" &
    pid=$!
    pids+=($pid)
    win=$(waitwindow Quillcut) || fail "round $round: no main window"
    [ "$(frameposition "$win")" = 100,60 ] || fail "round $round: frame at $(frameposition "$win"), not at 100,60"
    if [ "$round" = 1 ]; then
        actions=$(xprop -id "$win" _NET_WM_ALLOWED_ACTIONS)
        case "$actions" in *MAXIMIZE*) fail "a maximise action is offered: $actions" ;; esac
        # Options > Show toolbar, off and on again: the height changes, the top edge stays.
        tall=$(height "$win")
        xdotool windowactivate --sync "$win" >/dev/null 2>&1
        xdotool key --clearmodifiers alt+o s
        sleep 0.5
        [ "$(height "$win")" -lt "$tall" ] || fail "hiding the toolbar left the height at $(height "$win")"
        [ "$(frameposition "$win")" = 100,60 ] || fail "hiding the toolbar moved the frame to $(frameposition "$win")"
        xdotool key --clearmodifiers alt+o s
        sleep 0.5
        [ "$(height "$win")" = "$tall" ] || fail "showing the toolbar again gave the height $(height "$win"), not $tall"
        [ "$(frameposition "$win")" = 100,60 ] || fail "showing the toolbar moved the frame to $(frameposition "$win")"
    fi
    closewindow "$win" "$pid" || fail "round $round: the program did not end on close"
    for f in "$work/mp3qc.ini" "$work/home/.config/quillcut/mp3qc.ini"; do
        cmp -s "$f" "$work/expected.ini" || fail "round $round: $f changed: $(cmp "$f" "$work/expected.ini")"
    done
done

# A file given on the command line, then the Auto button: the silence
# detection window's frame at its stored 300,200; Escape closes it, and the
# positions stored are those read.
"$work/quillcut" "$sample" 2>"$work/err-auto.txt" &
pid=$!
pids+=($pid)
win=$(waitwindow Quillcut) || fail "no main window with a file"
[ "$(frameposition "$win")" = 100,60 ] || fail "with a file the frame is at $(frameposition "$win"), not at 100,60"
xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key --clearmodifiers alt+u
auto=$(waitwindow " Automatic Silence Detection") || fail "the Auto button opened no window"
[ "$(frameposition "$auto")" = 300,200 ] || fail "silence detection frame at $(frameposition "$auto"), not at 300,200"
xdotool key --clearmodifiers Escape
sleep 0.3
closewindow "$win" "$pid" || fail "the program did not end on close (with a file)"
for f in "$work/mp3qc.ini" "$work/home/.config/quillcut/mp3qc.ini"; do
    samebytes "$f" "$work/expected.ini" || fail "with a file: the stored positions in $f changed"
done

# No settings file: the reset message first, then the window at 0,0.
rm -f "$work/mp3qc.ini" "$work/home/.config/quillcut/mp3qc.ini"
"$work/quillcut" 2>"$work/err-reset.txt" &
pid=$!
pids+=($pid)
box=$(waitwindow error) || fail "no reset message"
xdotool windowactivate --sync "$box" >/dev/null 2>&1
xdotool key --clearmodifiers Return
win=$(waitwindow Quillcut) || fail "no main window after the reset message"
[ "$(frameposition "$win")" = 0,0 ] || fail "without settings the frame is at $(frameposition "$win"), not at 0,0 (centred?)"
closewindow "$win" "$pid" || fail "the program did not end on close"
[ ! -e "$work/mp3qc.ini" ] && [ ! -e "$work/home/.config/quillcut/mp3qc.ini" ] || fail "a settings file was made"
echo "1 passed, 0 failed"
