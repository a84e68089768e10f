#!/usr/bin/env bash
# Runs a command under an Xvfb server of its own:
#   scripts/xvfb.sh COMMAND [ARGS...]
# The server chooses a free display itself (-displayfd) and names it only once
# it accepts connections, so a server from an earlier run that is still going
# down is never taken for this one. -noreset keeps the server from resetting
# each time its last client leaves: a program that connects during a reset
# is refused. When the command ends the server is stopped and waited for,
# and the command's exit status is returned.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

work=$(mktemp -d)
server=
stop() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
number=
read -r -t 30 number <"$work/display" || true
if [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

unset QT_QPA_PLATFORM
export DISPLAY=":$number"
status=0
"$@" || status=$?
exit "$status"
