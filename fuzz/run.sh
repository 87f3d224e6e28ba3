#!/usr/bin/env bash
# Runs every fuzz target in turn for SECONDS each (default 60), one at a
# time, on its corpus in fuzz/corpus/<target>/ (new inputs are kept there),
# seeded from the samples and the test fixtures. A crash is kept as a
# regression input in tests/fixtures/hostile/crashes/<target>/, which the
# robustness tests run through the load and the tag views.
#   fuzz/run.sh [SECONDS] [TARGET...]
# Build first (fuzz/ci.sh builds into build/fuzz), or set QC_FUZZ_BUILD.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp}
shift || true
build=${QC_FUZZ_BUILD:-build/fuzz}
targets=("$@")
source fuzz/targets.sh
[ ${#targets[@]} -eq 0 ] && targets=("${QC_FUZZ_TARGETS[@]}")

status=0
for t in "${targets[@]}"; do
    corpus=fuzz/corpus/$t
    crashes=tests/fixtures/hostile/crashes/$t
    mkdir -p "$corpus" "$crashes"
    echo "== $t: ${seconds}s"
    # shellcheck disable=SC2046
    if ! "$build/fuzz/$t" -max_total_time="$seconds" -max_len="$(qc_fuzz_maxlen "$t")" -timeout=10 \
        -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$corpus" $(qc_fuzz_seeds "$t") 2>"$build/$t.log"; then
        echo "$t: FOUND A FAULT, input kept in $crashes/ (log: $build/$t.log)"
        status=1
    fi
    grep -E 'cov: ' "$build/$t.log" | tail -1
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$build/$t.log"
done
exit $status
