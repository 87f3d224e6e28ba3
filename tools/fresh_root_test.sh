#!/usr/bin/env bash
# A newcomer's machine, made twice from nothing: checks that CI passes where
# nothing was installed by hand, and that the package it makes installs and
# runs where nothing else was built.
#
# 1. A new minimal Debian 12 root (debootstrap --variant=minbase) holding
#    only a clone of this repository's current branch (what is committed;
#    changes not committed are not in it). In it, as root:
#        CI=true bash .ci/run </dev/null
#    which installs every package it needs itself, then lintian on the
#    Debian package that run made: no error and no warning allowed.
# 2. A second new minimal root with only that package in it:
#        apt-get install --no-install-recommends ./quillcut_*.deb
#    then quillcut --version, quillcut-cli --version and info on a sample,
#    and the window program on the offscreen platform with an empty HOME:
#    it must keep running (ended after a few seconds), make the user's
#    543-byte settings file without the reset message, and open a file
#    given on its command line.
#
# Prints the time of each step and the lintian output. Not part of CI: it
# needs root (debootstrap, chroot, mount), a Debian mirror and about half an
# hour of 2 processors.
#
#   tools/fresh_root_test.sh
# Environment:
#   QC_ROOTS         where the roots and the logs go (default /var/tmp/quillcut-roots);
#                    keep it outside the repository
#   QC_MIRROR        the Debian mirror (default: the first Debian archive in this
#                    machine's apt sources, else http://deb.debian.org/debian)
#   QC_SECURITY      the security archive (default http://deb.debian.org/debian-security)
#   QC_BRANCH        the branch to clone (default: the current one)
#   QC_KEEP_ROOTS=1  keep the roots afterwards (otherwise they are removed)
#   QC_DEB=FILE      skip step 1 and check this package in step 2
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

[ "$(id -u)" -eq 0 ] || { echo "fresh_root_test: run as root (debootstrap, chroot and mount need it)" >&2; exit 2; }
source tools/packages.sh
qc_install debootstrap git

suite=bookworm
mirror=${QC_MIRROR:-}
if [ -z "$mirror" ]; then
    # the archive this machine installs Debian 12 from (deb822 or one-line sources)
    mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk '/^URIs:/ || /^deb / { for (i = 2; i <= NF; i++) if ($i ~ /^https?:\/\/.*\/debian\/?$/) { print $i; exit } }' || true)
    mirror=${mirror:-http://deb.debian.org/debian}
fi
security=${QC_SECURITY:-http://deb.debian.org/debian-security}
branch=${QC_BRANCH:-$(git rev-parse --abbrev-ref HEAD)}
commit=$(git rev-parse "$branch")
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "fresh_root_test: note: changes not committed are not tested (the clone is of $branch at ${commit:0:12})"

roots=${QC_ROOTS:-/var/tmp/quillcut-roots}
work=$roots/run-$(date +%Y%m%d-%H%M%S)
mkdir -p "$work"
work=$(realpath "$work")
case "$work/" in "$repo"/*) echo "fresh_root_test: QC_ROOTS must lie outside the repository" >&2; exit 2 ;; esac

mounted=()
cleanup() {
    local status=$?
    for root in "$work/ci-root" "$work/install-root"; do
        [ -d "$root" ] && release "$root"
    done
    exit $status
}
trap cleanup EXIT
fail() { echo "fresh_root_test: FAILED: $*" >&2; exit 1; }
step() { echo "== $(date +%H:%M:%S) $*"; }
elapsed() { local s=$(($(date +%s) - $1)); printf '%dm%02ds' $((s / 60)) $((s % 60)); }

# A new minimal root with the mirror's Debian 12, its updates and security
# archives as a fresh install has them, and no service started by packages.
makeroot() {
    local root=$1
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { tail -20 "$root.debootstrap.log"; fail "debootstrap $root"; }
    cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # the root a mount of its own, as a machine's is (unshare -m needs one)
    mount --bind "$root" "$root" && mounted+=("$root")
    mount -t proc proc "$root/proc" && mounted+=("$root/proc")
    mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
    mount --bind /dev "$root/dev" && mounted+=("$root/dev")
    mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm" && mounted+=("$root/dev/shm")
}

# Runs a command in the root as its root user with a login's plain environment.
inroot() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# Ends what still runs in the root, unmounts it and, unless asked to keep
# it, removes it; a root that is still mounted is never removed.
release() {
    local root=$1 pid i
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill "$pid" 2>/dev/null
    done
    sleep 1
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        case "${mounted[$i]}" in
        "$root" | "$root"/*) umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}" || true ;;
        esac
    done
    if awk -v r="$root/" 'index($2 "/", r) == 1 { found = 1 } END { exit !found }' /proc/mounts; then
        echo "fresh_root_test: $root is still mounted; not removed" >&2
        return 0
    fi
    [ "${QC_KEEP_ROOTS:-0}" = 1 ] || rm -rf "$root"
}

start=$(date +%s)
echo "fresh_root_test: $branch at ${commit:0:12}, Debian $suite from $mirror, in $work"

# 1. CI from nothing.
ci=$work/ci-root
ci_time=skipped
if [ -n "${QC_DEB:-}" ]; then
    deb=$(basename "$QC_DEB")
    cp "$QC_DEB" "$work/$deb"
    echo "   CI skipped: checking $QC_DEB"
else
    t=$(date +%s)
    step "making the CI root"
    makeroot "$ci"
    echo "   $(elapsed "$t")"
    git clone --quiet --branch "$branch" "file://$repo" "$ci/root/quillcut"
    t=$(date +%s)
    step "CI=true bash .ci/run </dev/null (log: $work/ci.log)"
    set +e
    inroot "$ci" sh -c 'cd /root/quillcut && CI=true bash .ci/run' </dev/null >"$work/ci.log" 2>&1
    status=$?
    set -e
    ci_time=$(elapsed "$t")
    echo "   exit status $status after $ci_time"
    grep -E 'tests passed|tests failed|^install test:|^fuzzing:' "$work/ci.log" | sed 's/^/   /' || true
    [ "$status" -eq 0 ] || { tail -40 "$work/ci.log"; fail "CI failed in a fresh root (exit $status)"; }

    debs=("$ci"/root/quillcut/build/release-ci/quillcut_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "CI made no package (or more than one)"
    deb=$(basename "${debs[0]}")
    cp "${debs[0]}" "$work/$deb"
    step "lintian $deb (lintian $(inroot "$ci" lintian --version | awk '{print $2}'))"
    set +e
    inroot "$ci" lintian -I --fail-on error,warning "/root/quillcut/build/release-ci/$deb" >"$work/lintian.txt" 2>&1
    status=$?
    set -e
    grep -v 'running with root privileges' "$work/lintian.txt" | sed 's/^/   /' || true
    [ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
    release "$ci"
fi

# 2. The package alone.
inst=$work/install-root
t=$(date +%s)
step "making the install root"
makeroot "$inst"
cp "$work/$deb" "$inst/tmp/"
cp samples/tone44-cbr64-tagged.mp3 "$inst/tmp/song.mp3"
step "apt-get install --no-install-recommends ./$deb"
inroot "$inst" sh -c "apt-get update -qq && cd /tmp &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ./$deb" \
    </dev/null >"$work/install.log" 2>&1 || { tail -20 "$work/install.log"; fail "apt-get install"; }
version=$(dpkg-deb -f "$work/$deb" Version)
[ "$(inroot "$inst" quillcut --version)" = "quillcut $version" ] || fail "quillcut --version"
[ "$(inroot "$inst" quillcut-cli --version)" = "quillcut-cli $version" ] || fail "quillcut-cli --version"
inroot "$inst" quillcut-cli info /tmp/song.mp3 >"$work/info.txt" || fail "quillcut-cli info"
echo "   quillcut $version and quillcut-cli $version run; info: $(sed -n 2p "$work/info.txt" | sed 's/^ *//')"

# The window program with an empty home and no runtime folder, offscreen:
# still running when ended after 5 seconds (timeout's 124), its settings made
# from the installed default, no reset message; then again with a file.
step "quillcut offscreen, empty HOME"
mkdir -p "$inst/tmp/newcomer"
window() {
    inroot "$inst" env HOME=/tmp/newcomer QT_QPA_PLATFORM=offscreen timeout 5 quillcut "$@" </dev/null 2>&1
}
set +e
window >"$work/window.txt"
first=$?
window /tmp/song.mp3 >"$work/window-file.txt"
second=$?
set -e
ini=$inst/tmp/newcomer/.config/quillcut/mp3qc.ini
[ "$first" -eq 124 ] || { cat "$work/window.txt"; fail "quillcut ended by itself with status $first"; }
[ "$second" -eq 124 ] || { cat "$work/window-file.txt"; fail "quillcut FILE ended by itself with status $second"; }
[ "$(stat -c %s "$ini" 2>/dev/null)" = 543 ] || fail "no 543-byte ~/.config/quillcut/mp3qc.ini after the first start"
! grep -q "Parameters reset" "$work/window.txt" || fail "the first start showed the reset message"
# the window icon comes from the program itself where no icon theme has it
! grep -h "Cannot open file" "$work/window.txt" "$work/window-file.txt" || fail "a file the program needs is missing"
echo "   ran 5 s twice (without and with a file), made ~/.config/quillcut/mp3qc.ini (543 bytes)"
release "$inst"

echo "fresh_root_test: passed in $(elapsed "$start") (CI $ci_time); logs and $deb in $work"
