#!/usr/bin/env bash
# Installs what is missing, builds Quillcut (release) and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qc_install "${QC_BUILD_PACKAGES[@]}"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQC_TESTS=OFF -DQC_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)"
exec build/release/src/qt/quillcut "$@"
