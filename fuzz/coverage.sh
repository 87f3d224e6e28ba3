#!/usr/bin/env bash
# Line coverage of each fuzz target's corpus: builds the targets with clang's
# source-based coverage (no sanitizers) into build/fuzzcov, replays each
# corpus once (the seeds from the samples and the fixtures and the saved
# crashes included) and prints the coverage of the engine sources the
# target exercises.
#   fuzz/coverage.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/fuzzcov
flags="-fprofile-instr-generate -fcoverage-mapping"
CXX=clang++-14 cmake -S . -B "$build" -DQC_FUZZ=ON -DQC_GUI=OFF -DQC_TESTS=OFF -DQC_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" --target fuzzers -j2 >/dev/null

targets=("$@")
source fuzz/targets.sh
[ ${#targets[@]} -eq 0 ] && targets=("${QC_FUZZ_TARGETS[@]}")
for t in "${targets[@]}"; do
    seeds=$(qc_fuzz_seeds "$t")
    case "$t" in
    fuzz_load_*) sources="src/analysis src/cutting/copy_plan.cpp src/silence/methods.cpp" ;;
    fuzz_id3v1) sources="src/tags/id3v1_text.cpp src/tags/field_text.cpp src/tags/genres.cpp src/shell/tag_views.cpp" ;;
    fuzz_id3v2) sources="src/tags/id3v2_text.cpp src/tags/field_text.cpp src/tags/frame_descriptions.cpp src/shell/tag_views.cpp" ;;
    fuzz_settings) sources="src/shell/settings.cpp" ;;
    fuzz_cutbox) sources="src/shell/cut_positions.cpp src/cutting/fixed.cpp" ;;
    fuzz_exact) sources="src/cutting/exact_plan.cpp src/cutting/output_plan.cpp src/cutting/xing_tag.cpp src/cutting/side_info.cpp src/cutting/crc16.cpp" ;;
    fuzz_tag_values) sources="src/tags/id3v1_fields.cpp src/tags/id3v2_frames.cpp src/tags/text_encoding.cpp" ;;
    esac
    rm -f "$build/$t.profraw"
    # shellcheck disable=SC2086
    LLVM_PROFILE_FILE="$build/$t.profraw" "$build/fuzz/$t" -runs=0 fuzz/corpus/"$t" \
        tests/fixtures/hostile/crashes/"$t" $seeds >/dev/null 2>&1 || true
    llvm-profdata-14 merge -sparse "$build/$t.profraw" -o "$build/$t.profdata"
    echo "== $t"
    # shellcheck disable=SC2086
    llvm-cov-14 report "$build/fuzz/$t" -instr-profile="$build/$t.profdata" $sources | tail -n +1 |
        awk '/TOTAL/ || /\.cpp/' |
        awk '{printf "%-40s lines %s/%s covered (%s)\n", $1, $8 - $9, $8, $10}'
done
