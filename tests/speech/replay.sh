#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Replays what a blind student does in each window and compares what the
# Orca screen reader says with what it should say.
#
#   tests/speech/replay.sh [--record] [BUILD] [SCRIPT.txt ...]
#
# A script's first line is "keys:" and the keys, as screenreader.sh takes
# them (xdotool names, type:TEXT), pressed from the menu of a freshly
# started program; the rest is what Orca says after each key, as
# screenreader.sh prints it ("{any}" in a line stands for any text). Each
# script runs against its own start of the program; a difference is
# printed as a diff and makes the exit status 1.
# --record writes what Orca said into the scripts instead (review the
# change before committing it). Needs root on Debian 12, as
# screenreader.sh does (SCREENREADER=path/to/screenreader.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
record=0
if [ "${1:-}" = --record ]; then record=1; shift; fi
build=build
if [ $# -gt 0 ] && [ -d "$1" ]; then build=$1; shift; fi
sr=${SCREENREADER:-/work/shared/tools/screenreader.sh}
export SCREENREADER_DIR=${SCREENREADER_DIR:-/tmp/quorvex-speech-replay}
scripts=("$@")
[ ${#scripts[@]} -gt 0 ] || scripts=("$here"/*.txt)
failed=0
# Each line said must match its line of the script, where "{any}" stands for
# any text (a random question, a seed); otherwise a diff is printed.
matches='
import difflib, re, sys
want = open(sys.argv[1]).read().split("\n")[1:]
got = sys.stdin.read().split("\n")
def same(w, g):
    return re.fullmatch(".*".join(map(re.escape, w.split("{any}"))), g) is not None
if len(want) == len(got) and all(same(w, g) for w, g in zip(want, got)):
    sys.exit(0)
sys.stdout.writelines(difflib.unified_diff([w + "\n" for w in want], [g + "\n" for g in got], "expected", "said"))
sys.exit(1)
'
for script in "${scripts[@]}"; do
    read -r first <"$script"
    keys=${first#keys:}
    "$sr" stop >/dev/null 2>&1
    "$sr" start "$root/$build/quorvex" >/dev/null || { echo "could not start for $script" >&2; exit 1; }
    # shellcheck disable=SC2086
    said=$("$sr" keys $keys)
    "$sr" stop >/dev/null
    if [ $record = 1 ]; then
        printf '%s\n%s\n' "$first" "$said" >"$script"
        echo "recorded $(basename "$script")"
    elif printf '%s\n' "$said" | python3 -c "$matches" "$script" >"$SCREENREADER_DIR.diff"; then
        echo "same: $(basename "$script")"
    else
        echo "DIFFERS: $(basename "$script")"
        cat "$SCREENREADER_DIR.diff"
        failed=1
    fi
done
exit $failed
