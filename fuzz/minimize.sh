#!/usr/bin/env bash
# Shrinks each committed corpus to the inputs that add coverage beyond the
# seeds (the samples and the test fixtures, which the runs read anyway), so
# that fuzz/corpus/ stays small.
#   fuzz/minimize.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QC_FUZZ_BUILD:-build/fuzz}
targets=("$@")
source fuzz/targets.sh
[ ${#targets[@]} -eq 0 ] && targets=("${QC_FUZZ_TARGETS[@]}")
for t in "${targets[@]}"; do
    work=$(mktemp -d)
    read -ra seeds <<<"$(qc_fuzz_seeds "$t")"
    # the seeds go in first, so that only what they do not reach is kept
    if [ ${#seeds[@]} -gt 0 ]; then
        "$build/fuzz/$t" -merge=1 -use_counters=0 "$work/base" "${seeds[@]}" >/dev/null 2>&1 || mkdir -p "$work/base"
    else
        mkdir -p "$work/base"
    fi
    cp -r "$work/base" "$work/merged"
    "$build/fuzz/$t" -merge=1 -use_counters=0 "$work/merged" fuzz/corpus/"$t" >/dev/null 2>&1
    mkdir -p "$work/kept"
    for f in "$work/merged"/*; do
        [ -e "$f" ] || continue
        [ -e "$work/base/$(basename "$f")" ] || cp "$f" "$work/kept/"
    done
    rm -rf fuzz/corpus/"$t"
    mkdir -p fuzz/corpus/"$t"
    cp "$work/kept"/* fuzz/corpus/"$t"/ 2>/dev/null || true
    echo "$t: $(ls fuzz/corpus/"$t" | wc -l) inputs, $(du -sh fuzz/corpus/"$t" | cut -f1)"
    rm -rf "$work"
done
