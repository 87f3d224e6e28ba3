#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qc_install "${QC_BUILD_PACKAGES[@]}" "${QC_TEST_PACKAGES[@]}"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DQC_SANITIZE=ON -DQC_TESTS=ON -DQC_WERROR=ON >/dev/null
cmake --build build/test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build/test --output-on-failure -j"$(nproc)"
