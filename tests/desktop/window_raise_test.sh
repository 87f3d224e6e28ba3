#!/usr/bin/env bash
# A second start of the window program under a real window manager (its own
# Xvfb and openbox, never the user's display) brings the running window to
# the front: minimised, it is shown again; under another program's window,
# it comes on top of it and takes the focus. With a file the second copy
# hands the file over and ends at once; without one it says why it ends.
#
#   window_raise_test.sh QUILLCUT WORKDIR SAMPLE.mp3
# Exit 77 (skipped) when Xvfb, openbox, xdotool or xmessage is missing.
set -u
program=$1
work=$2
sample=$3
for tool in Xvfb openbox xdotool xwininfo xprop xmessage; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/x_session.sh"
xsession 1280x800
export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0
settings 60 100

viewable() { xwininfo -id "$1" | grep -q "Map State: IsViewable"; }
# whether the window manager has $1 active and stacked above every other window
infront() {
    local active top
    for _ in $(seq 50); do
        active=$(xdotool getactivewindow 2>/dev/null)
        top=$(xprop -root _NET_CLIENT_LIST_STACKING | awk '{print $NF}')
        [ "$active" = "$1" ] && [ "$((top))" = "$1" ] && viewable "$1" && return 0
        sleep 0.1
    done
    echo "active $active, top of the stack $top" >&2
    return 1
}
secondstart() {  # starts a second copy, which must end within ten seconds
    timeout 10 "$work/quillcut" "$@" 2>>"$work/err-second.txt"
}

"$work/quillcut" 2>"$work/err-first.txt" &
pid=$!
pids+=($pid)
win=$(waitwindow Quillcut) || fail "no main window"
infront "$win" || fail "the first window is not in front after its start"

# minimised, then a second start with a file: shown again, in front
xdotool windowminimize "$win"
for _ in $(seq 50); do viewable "$win" || break; sleep 0.1; done
viewable "$win" && fail "the window manager did not minimise the window"
secondstart "$sample" || fail "the second copy with a file did not end by itself ($?)"
infront "$win" || fail "a second start with a file left the minimised window behind"

# under another program's window: on top of it again, with the focus
xmessage -geometry 900x700+0+0 -name cover "another program" &
pids+=($!)
cover=$(waitwindow cover) || fail "no covering window"
xdotool windowactivate --sync "$cover" >/dev/null 2>&1
infront "$cover" || fail "the covering window did not come in front"
secondstart "$sample" || fail "the second copy with a file did not end by itself ($?)"
infront "$win" || fail "a second start with a file left the window under the other one"

# without a file: the same, and the second copy's message says why it ends
xdotool windowactivate --sync "$cover" >/dev/null 2>&1
infront "$cover" || fail "the covering window did not come in front again"
secondstart &
second=$!
msg=
for _ in $(seq 100); do
    msg=$(xdotool search --onlyvisible --name "^Quillcut\$" 2>/dev/null | grep -v "^$win\$" | head -1)
    [ -n "$msg" ] && break
    sleep 0.1
done
[ -n "$msg" ] || fail "the second copy without a file showed no message"
sleep 0.5
xdotool windowactivate --sync "$msg" >/dev/null 2>&1
xdotool key --clearmodifiers Return
wait "$second" || fail "the second copy without a file did not end after its message"
infront "$win" || fail "a second start without a file left the window under the other one"

closewindow "$win" "$pid" || fail "the program did not end on close"
echo "1 passed, 0 failed"
