# Shared by the window tests under a real X server: a fresh work folder with
# the program hard-linked into it, its own Xvfb (a free display picked by
# -displayfd, never the user's) and openbox, and a home and runtime folder
# inside the work folder; and what the tests ask of the windows. Sourced
# after `program` and `work` are set; `xsession WIDTHxHEIGHT` starts the
# server.

rm -rf "$work" && mkdir -p "$work/run" "$work/home/.config/quillcut" && chmod 700 "$work/run"
# A hard link: the program finds its settings beside the path it was started by.
ln "$program" "$work/quillcut" 2>/dev/null || cp "$program" "$work/quillcut"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

xsession() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    exec 3>&-
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
    export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
}

settings() {  # a settings record with the main window at top $1, left $2 (and the
    # silence detection window's pair $3 $4, as the record holds it: 300 200 for
    # its frame at 300,200), wherever the program looks, and a copy of it as
    # expected.ini
    python3 - "$work" "$1" "$2" "${3:-0}" "${4:-0}" <<'PY'
import struct, sys, pathlib
w = pathlib.Path(sys.argv[1])
rec = bytearray(543)
for off in (0, 256):
    rec[off:off + 6] = bytes([5]) + b"/tmp/"
rec[512:520] = struct.pack("<ii", int(sys.argv[2]), int(sys.argv[3]))
rec[520:523] = bytes([3, 3, 1])
rec[535:543] = struct.pack("<ii", int(sys.argv[4]), int(sys.argv[5]))
for p in (w / "mp3qc.ini", w / "home/.config/quillcut/mp3qc.ini", w / "expected.ini"):
    p.write_bytes(rec)
PY
}
waitwindow() {  # the id of the visible window titled $1
    for _ in $(seq 100); do
        local id
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { sleep 1; echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
closewindow() {  # asks the window manager to close the window, waits for the program to end
    # (again if the key went to no window: activation can come late)
    for _ in 1 2 3; do
        xdotool windowactivate --sync "$1" >/dev/null 2>&1
        xdotool key --clearmodifiers alt+F4
        for _ in $(seq 30); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
    done
    return 1
}
