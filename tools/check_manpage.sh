#!/usr/bin/env bash
# Checks that the manual page of quillcut-cli, as man shows it, names every
# verb and every option that the program's --help texts name.
#
# usage: tools/check_manpage.sh QUILLCUT-CLI PAGE
set -euo pipefail
cli=$1 page=$2
export ASAN_OPTIONS=detect_leaks=0
shown=$(zcat -f "$page" | groff -man -Tascii -P-cbou 2>/dev/null)
status=0
missing() { echo "not in $page: $*" >&2; status=1; }
options() { grep -oE '(^|[ ,])--?[A-Za-z0-9][A-Za-z0-9-]*' | sed 's/^[ ,]//' | sort -u; }

verbs=$("$cli" --help | awk '/^Subcommands:/ { on = 1; next }
    on && /^  [^ ]/ { print $1 } on && /^$/ { on = 0 }')
[ -n "$verbs" ] || missing "(no verbs found in --help)"
for o in $("$cli" --help | options); do
    grep -qF -- "$o" <<<"$shown" || missing "$o"
done
for v in $verbs; do
    grep -qE "^   $v\$" <<<"$shown" || missing "verb $v"
    grep -qE "quillcut-cli $v " <<<"$shown" || missing "synopsis of $v"
    # each verb's options under its own heading
    section=$(awk -v v="$v" '$0 == "   " v { on = 1; next } on && /^   [^ ]/ { exit } on' <<<"$shown")
    for o in $("$cli" "$v" --help | options); do
        grep -qF -- "$o" <<<"$section" || missing "$v $o"
    done
done
exit $status
