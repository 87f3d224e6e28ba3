#!/usr/bin/env bash
# quillcut-cli over 2,000 small real files: info, and cut with silence
# detection method 2 at both ends, with --jobs 1 and --jobs 2, beside mp3val
# reading the same files. The files are copies and variants of the samples
# (tags removed, ends cut), made in a temporary folder.
#
#   bench/cli_batch.sh [QUILLCUT_CLI]    (default: build/rel/quillcut-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/rel/quillcut-cli}
count=${QC_BENCH_FILES:-2000}
[ -x "$cli" ] || { echo "no $cli: build it first (see the README)" >&2; exit 1; }
command -v mp3val >/dev/null || { echo "mp3val is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/out1" "$work/out2" "$work/variants"

# the variants: every sample as it is, without its tags, and with frames cut
for s in samples/*.mp3 tests/fixtures/silence/*.mp3; do
    b=$(basename "$s" .mp3)
    cp "$s" "$work/variants/$b.mp3"
    "$cli" cut "$s" -o "$work/variants/$b-bare.mp3" --remove-id3v2 --remove-id3v1 --start-frames 1 >/dev/null
    "$cli" cut "$s" -o "$work/variants/$b-short.mp3" --start-frames 5 --end-frames 5 >/dev/null
done
variants=("$work"/variants/*.mp3)
for ((i = 0; i < count; i++)); do
    cp "${variants[i % ${#variants[@]}]}" "$work/src/f$i.mp3"
done
bytes=$(du -sb "$work/src" | cut -f1)
echo "files: $count copies of ${#variants[@]} variants, $bytes bytes in all"

# warm the cache once, and put the copies on the disk first: each output is
# flushed before it is renamed into place, and that flush must not pay for
# the copies' writeback
cat "$work"/src/*.mp3 >/dev/null
sync

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

printf '%-44s %8s\n' "what" "seconds"
t=$(seconds mp3val "$work"/src/*.mp3); printf '%-44s %8.3f\n' "mp3val (reference)" "$t"
for jobs in 1 2; do
    t=$(seconds "$cli" info --json --jobs $jobs "$work"/src/*.mp3)
    printf '%-44s %8.3f\n' "info --json --jobs $jobs" "$t"
done
for jobs in 1 2; do
    sync
    t=$(seconds "$cli" cut --auto-start 2 --auto-end 2 --json --jobs $jobs --output-dir "$work/out$jobs" "$work"/src/*.mp3)
    printf '%-44s %8.3f\n' "cut --auto-start 2 --auto-end 2 --jobs $jobs" "$t"
done
cmp -s <(cd "$work/out1" && cat $(ls | sort)) <(cd "$work/out2" && cat $(ls | sort)) &&
    echo "outputs of --jobs 1 and --jobs 2: identical" || { echo "outputs differ" >&2; exit 1; }
