# Installs the Debian packages named in "$@" that are missing (apt-get, via
# sudo when not root). Sourced by run.sh and test.sh.
qc_install() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

QC_BUILD_PACKAGES=(g++ cmake make gzip qt6-base-dev libcli11-dev nlohmann-json3-dev libtag1-dev libcue-dev
    fonts-liberation libqt6svg6)
QC_TEST_PACKAGES=(libgtest-dev libgmock-dev ffmpeg mp3val groff-base lame sox mpg123 xvfb openbox xdotool x11-utils
    python3)
QC_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# The install test and the Debian package (tools/install_test.sh): cpack
# asks dpkg-shlibdeps (dpkg-dev) for the Depends of the programs that file
# finds, and refuses to make the package without them.
QC_PACKAGE_PACKAGES=(desktop-file-utils appstream dpkg-dev file lintian)
