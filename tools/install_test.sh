#!/usr/bin/env bash
# Builds the Release configuration once (tests included, warnings not turned
# into errors, as a user's plain build would be), installs it into a
# temporary DESTDIR and checks the installed tree: both programs run from
# there, the desktop entry and the metainfo validate, the icon, the default
# settings and the manual pages are in place, and a first start in a fresh
# home makes the user's settings file without the reset message. Then makes
# the Debian package and checks what it holds, that lintian finds no error
# or warning in it, and that cpack refuses to make it without dpkg-shlibdeps.
#
# QC_INSTALL_DEB=1 also installs the package with apt-get and removes it
# again (this changes the machine: for throwaway CI machines and by hand).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qc_install "${QC_BUILD_PACKAGES[@]}" "${QC_TEST_PACKAGES[@]}" "${QC_PACKAGE_PACKAGES[@]}"

build=${QC_RELEASE_BUILD:-build/release-ci}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQC_TESTS=ON -DQC_BENCH=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
cleanup() {
    [ -n "${window:-}" ] && kill "$window" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" >/dev/null
usr=$work/root/usr
id=io.github.quillcut.Quillcut
for f in bin/quillcut bin/quillcut-cli share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/quillcut/mp3qc.ini \
    share/man/man1/quillcut.1.gz share/man/man1/quillcut-cli.1.gz \
    share/doc/quillcut/copyright share/doc/quillcut/changelog.gz; do
    [ -f "$usr/$f" ] || fail "$f is not installed"
done
[ "$(stat -c %s "$usr/share/quillcut/mp3qc.ini")" = 543 ] || fail "the default settings are not 543 bytes"
[ -x "$usr/bin/quillcut" ] && [ -x "$usr/bin/quillcut-cli" ] || fail "programs not executable"
# nothing in them points back into this tree, which a user's machine lacks
# (Qt's string literals are UTF-16)
for p in quillcut quillcut-cli; do
    ! { strings -a "$usr/bin/$p"; strings -a -el "$usr/bin/$p"; } | grep -qF "$(pwd)/" ||
        fail "$p holds a path into the source tree $(pwd)"
done

# Both programs answer --version without a display, with the project's version.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/quillcut" --version)" = "quillcut $version" ] ||
    fail "quillcut --version does not print $version"
[ "$("$usr/bin/quillcut-cli" --version)" = "quillcut-cli $version" ] ||
    fail "quillcut-cli --version does not print $version"
"$usr/bin/quillcut-cli" info samples/tone44-cbr64-tagged.mp3 >/dev/null || fail "quillcut-cli info fails"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop entry rejected"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.txt" ||
    { cat "$work/appstream.txt"; fail "metainfo rejected"; }
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" || fail "metainfo has no release $version"
for page in quillcut quillcut-cli; do
    warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -man -Tascii -ww -z 2>&1)
    [ -z "$warnings" ] || fail "man page $page: $warnings"
done
bash tools/check_manpage.sh "$usr/bin/quillcut-cli" "$usr/share/man/man1/quillcut-cli.1.gz" ||
    fail "the installed man page misses options"
zcat "$usr/share/man/man1/quillcut.1.gz" | grep -q '^\.I /usr/share/quillcut/mp3qc\.ini$' ||
    fail "quillcut(1) does not name the installed default settings /usr/share/quillcut/mp3qc.ini"
# the changelog's newest entry is this version
[ "$(zcat "$usr/share/doc/quillcut/changelog.gz" | head -n 1)" = \
    "quillcut ($version) unstable; urgency=medium" ] || fail "the changelog's newest entry is not $version"

# The window program in a fresh home: its settings file is made from the
# installed default, and no reset message is shown (on the offscreen
# platform a message box prints its text). Ended once the file is there.
home=$work/home runtime=$work/runtime
mkdir -p "$home" "$runtime"
chmod 700 "$runtime"
env -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen \
    "$usr/bin/quillcut" </dev/null >"$work/window.txt" 2>&1 &
window=$!
for _ in $(seq 100); do
    [ -f "$home/.config/quillcut/mp3qc.ini" ] && break
    kill -0 "$window" 2>/dev/null || break
    sleep 0.1
done
sleep 1
kill -0 "$window" 2>/dev/null || { cat "$work/window.txt"; fail "the window program did not keep running"; }
kill "$window"
wait "$window" 2>/dev/null || true
window=
[ "$(stat -c %s "$home/.config/quillcut/mp3qc.ini" 2>/dev/null)" = 543 ] ||
    fail "no 543-byte ~/.config/quillcut/mp3qc.ini after the first start"
! grep -q "Parameters reset" "$work/window.txt" || fail "the first start showed the reset message"

# The Debian package: its fields, and the same files as the installed tree.
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/quillcut_"$version"_*.deb)
dpkg-deb -I "$deb" >"$work/control.txt"
grep -q "^ Package: quillcut$" "$work/control.txt" || fail "package name"
grep -q "^ Version: $version$" "$work/control.txt" || fail "package version"
grep -q "^ Maintainer: ." "$work/control.txt" || fail "package maintainer"
grep -q "^ Description: ." "$work/control.txt" || fail "package description"
grep -Eq "^ Depends: .*libqt6widgets6" "$work/control.txt" || fail "Depends not computed from the libraries"
grep -Eq "^ Depends: .*fonts-liberation" "$work/control.txt" || fail "Depends lacks the fonts"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$work/deb-files.txt"
(cd "$work/root" && find . -type f -o -type l | sed 's/^\.//' | sort) >"$work/tree-files.txt"
diff "$work/tree-files.txt" "$work/deb-files.txt" || fail "the package holds other files than the install"
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian"; }

# Without dpkg-shlibdeps the package would lack its Depends on the libraries:
# cpack must refuse to make it. Hidden in a mount namespace of its own, where
# one can be made (as root).
if unshare -m true 2>/dev/null; then
    : >"$work/none"
    shlibdeps=$(command -v dpkg-shlibdeps)
    rm -f "$deb"
    ! unshare -m sh -c 'mount --bind "$1" "$2" && cd "$3" && cpack -G DEB' sh "$work/none" "$shlibdeps" "$build" \
        >"$work/cpack.txt" 2>&1 || fail "cpack made a package without dpkg-shlibdeps"
    grep -q "needs dpkg-shlibdeps" "$work/cpack.txt" || { cat "$work/cpack.txt"; fail "cpack's refusal"; }
    [ ! -e "$deb" ] || fail "a package was left without dpkg-shlibdeps"
    (cd "$build" && cpack -G DEB >/dev/null)
else
    echo "install test: the package without dpkg-shlibdeps not tried (no mount namespace)"
fi

if [ "${QC_INSTALL_DEB:-0}" = 1 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$(realpath "$deb")" </dev/null
    [ "$(/usr/bin/quillcut-cli --version)" = "quillcut-cli $version" ] || fail "installed package does not run"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq quillcut </dev/null
    while read -r f; do
        [ ! -e "$f" ] || fail "$f is left after apt-get remove"
    done <"$work/deb-files.txt"
fi
echo "install test: passed ($deb)"
