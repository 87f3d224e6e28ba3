# Shared by the window tests under a real X server: a fresh work folder with
# the program hard-linked into it, its own Xvfb (a free display picked by
# -displayfd, never the user's) and openbox, and a home and runtime folder
# inside the work folder. Sourced after `program` and `work` are set;
# `xsession WIDTHxHEIGHT` starts the server.

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
