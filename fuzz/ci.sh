#!/usr/bin/env bash
# CI: builds the fuzz targets with clang and runs each for a short, bounded
# time (QC_FUZZ_SECONDS, default 20) on a copy of its corpus, so that a parser
# change that crashes on the corpus, or soon after it, fails the build. The
# committed corpora are never changed here; a crash input is printed and kept
# in the temporary directory named in the output.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qc_install "${QC_BUILD_PACKAGES[@]}" "${QC_FUZZ_PACKAGES[@]}"

seconds=${QC_FUZZ_SECONDS:-20}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp}
build=${QC_FUZZ_BUILD:-build/fuzz}
CXX=clang++-14 cmake -S . -B "$build" -DQC_WERROR=ON -DQC_FUZZ=ON -DQC_GUI=OFF -DQC_TESTS=OFF -DQC_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"

work=$(mktemp -d)
source fuzz/targets.sh
targets=("${QC_FUZZ_TARGETS[@]}")
failed=()
for t in "${targets[@]}"; do
    mkdir -p "$work/$t/corpus" "$work/$t/crashes"
    cp -r fuzz/corpus/"$t"/. "$work/$t/corpus/" 2>/dev/null || true
    # the saved crashes run first: each must pass now
    cp -r tests/fixtures/hostile/crashes/"$t"/. "$work/$t/corpus/" 2>/dev/null || true
    read -ra seeds <<<"$(qc_fuzz_seeds "$t")"
    maxlen=$(qc_fuzz_maxlen "$t")
    if "$build/fuzz/$t" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$work/$t/crashes/" "$work/$t/corpus" "${seeds[@]}" \
        >"$work/$t/log" 2>&1; then
        echo "$t: $(grep -E '^#[0-9]+.*DONE' "$work/$t/log" | tail -1)"
    else
        echo "$t: FAILED"
        grep -E 'property violated|ERROR|runtime error|SUMMARY|Test unit written' "$work/$t/log" | head -20
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs and logs in $work)"
    echo "fuzzing: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
    exit 1
fi
rm -rf "$work"
echo "each target ran ${seconds}s without a fault"
echo "fuzzing: ${#targets[@]} passed, 0 failed"
