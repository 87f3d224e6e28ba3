#!/usr/bin/env bash
# Writes the manual page of quillcut-cli from the program's own help texts
# (the main --help and each verb's --help), so that every verb and option
# the program has is in the page without anyone keeping a copy up to date.
#
# usage: tools/manpage.sh QUILLCUT-CLI VERSION OUTPUT
set -euo pipefail
cli=$1 version=$2 out=$3
export ASAN_OPTIONS=detect_leaks=0

# Text for roff: backslashes kept, a line starting with a control character
# kept as text, hyphens as plain hyphens (as typed on the command line).
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

main=$("$cli" --help)
verbs=$(printf '%s\n' "$main" | awk '/^Subcommands:/ { on = 1; next }
    on && /^  [^ ]/ { print $1 } on && /^$/ { on = 0 }')
[ -n "$verbs" ] || { echo "manpage.sh: no verbs in '$cli --help'" >&2; exit 1; }
summary=$(printf '%s\n' "$main" | head -n 1 | sed 's/^Quillcut: //')

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
{
    echo ".TH QUILLCUT\\-CLI 1 \"\" \"quillcut\\-cli $version\" \"User Commands\""
    echo ".nh"
    echo ".ad l"
    echo ".SH NAME"
    echo "quillcut\\-cli \\- $(printf '%s' "$summary" | roff)"
    echo ".SH SYNOPSIS"
    for v in $verbs; do
        "$cli" "$v" --help | awk '/^Usage:/ { sub(/^Usage: */, ""); print; exit }' | roff |
            sed -e 's/^quillcut\\-cli /.B quillcut\\-cli\n/' -e '$a .br'
    done
    echo ".B quillcut\\-cli"
    echo "\\-\\-version | \\-\\-help"
    echo ".SH DESCRIPTION"
    cat <<'ROFF'
quillcut\-cli is the engine of Quillcut for scripts and batch work: it loads
MPEG\-1, MPEG\-2 and MPEG\-2.5 Layer III files as the window program does, reports their structure
and tags, saves trimmed copies that hold the kept frames and structures, and
splits recordings into tracks.
It reads no settings file: everything comes from its command line.
.PP
By default cut writes exact output: the output decodes to exactly the audio
the kept frames carry in the source, the same samples and as many, and
\-\-start\-samples and \-\-end\-samples can cut at any sample. Its first frame is
a new Xing/Info frame with a LAME extension that gives the output's frame
count, length, encoder delay and padding; the earlier frames whose bytes the
first kept frame needs (the bit reservoir) are kept too, hidden by the encoder
delay, or replaced by one made\-up frame that carries those bytes.
.PP
With \-\-byte\-exact, cut copies the kept frames and structures byte for byte
instead, the source's own Xing/Info frame unchanged. Pick it when the output
must hold only bytes of the source (to compare or join pieces with the
source's bytes, or for tools that check them); players may then show the
source's length, and the first kept frame may decode as a short dropout.
.PP
split writes a recording's tracks, each one an exact output of its own, so
that the tracks played one after the other give exactly the whole file's
samples. The points come from the gaps between pieces (\-\-silence, found
from the frames' gain values without decoding: stretches clearly quieter
than the music on both sides of them, split in the middle of their quietest
part), from given times, from a fixed length or from a cue sheet. Tracks are
named DIR/NN \- TITLE.mp3 and get an ID3v2.4 tag made from the source's, with
their own title, number and performer; an existing file stops the split
unless \-\-force.
ROFF
    echo ".SH OPTIONS"
    echo ".nf"
    printf '%s\n' "$main" | awk '/^Options:/ { on = 1; next } on && /^$/ { exit } on' | roff
    echo ".fi"
    echo ".SH VERBS"
    for v in $verbs; do
        echo ".SS $v"
        echo ".nf"
        "$cli" "$v" --help | roff
        echo ".fi"
    done
    cat <<'ROFF'
.SH EXIT STATUS
0 when every file was handled, 1 when one failed (the reason also goes to
standard error), 2 for a usage error. A cut that would change nothing writes
no file and counts as handled: it prints \(lqNo changes \- will not save.\(rq
on standard output and, after the file's name, on standard error; with
\-\-json it is the last of the report's warnings instead.
.SH EXAMPLES
.nf
quillcut\-cli info song.mp3
quillcut\-cli cut song.mp3 \-o trimmed.mp3 \-\-start 0.3 \-\-end\-frames 10 \-\-remove\-id3v1
quillcut\-cli cut song.mp3 \-o shorter.mp3 \-\-end\-samples 44100 \-\-json
quillcut\-cli cut *.mp3 \-\-output\-dir trimmed \-\-auto\-start 2 \-\-byte\-exact
quillcut\-cli tags \-\-json song.mp3
quillcut\-cli split side\-a.mp3 \-\-output\-dir tracks \-\-silence \-\-write\-cue side\-a.cue
quillcut\-cli split show.mp3 \-\-output\-dir parts \-\-every 30:00
quillcut\-cli split album.mp3 \-\-output\-dir album \-\-cue album.cue
.fi
.SH SEE ALSO
.BR quillcut (1)
ROFF
} >"$tmp"
mv "$tmp" "$out"
trap - EXIT
