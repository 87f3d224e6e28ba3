# The fuzz targets and how each is run, for ci.sh, run.sh, minimize.sh and
# coverage.sh (sourced). fuzz/CMakeLists.txt builds the same list.
QC_FUZZ_TARGETS=(fuzz_load_yes fuzz_load_no fuzz_load_cancel fuzz_id3v1 fuzz_id3v2 fuzz_settings fuzz_cutbox
    fuzz_exact fuzz_tag_values fuzz_cue fuzz_track_tag)

# Seeds beside each target's own corpus: real files for the parsers.
qc_fuzz_seeds() {
    case "$1" in
    fuzz_load_*|fuzz_exact|fuzz_id3v1|fuzz_id3v2|fuzz_tag_values|fuzz_track_tag) echo samples tests/fixtures ;;
    *) ;;
    esac
}

# The longest input worth trying for each kind of target.
qc_fuzz_maxlen() {
    case "$1" in
    fuzz_load_*|fuzz_exact) echo 262144 ;;
    fuzz_id3v1|fuzz_id3v2|fuzz_tag_values|fuzz_track_tag) echo 16384 ;;
    fuzz_cue) echo 4096 ;;
    fuzz_settings) echo 1200 ;;
    *) echo 256 ;;
    esac
}
