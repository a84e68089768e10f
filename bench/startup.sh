#!/usr/bin/env bash
# Start-up time and peak memory of quorvex beside a minimal Qt Widgets
# program (the floor), under Xvfb:
#   bench/startup.sh BUILD-DIR [RUNS]     (RUNS defaults to 10, after a warm-up)
# Time is from starting the program until its window is mapped; memory is
# the peak resident set (VmHWM) once the window is up. Prints medians and
# the ratios quorvex / floor.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-10}
unset QT_QPA_PLATFORM

# Run under an Xvfb server of our own.
if [ -z "${QUORVEX_BENCH_UNDER_XVFB:-}" ]; then
    QUORVEX_BENCH_UNDER_XVFB=1 exec "$(dirname "$0")/../scripts/xvfb.sh" bash "$0" "$build" "$runs"
fi
: >"$build/startup-errors.txt"

# One run: prints "milliseconds kilobytes".
measure() {
    local program=$1 title=$2 start end pid kb
    start=$(date +%s%N)
    "$program" >/dev/null 2>>"$build/startup-errors.txt" &
    pid=$!
    until xwininfo -name "$title" 2>/dev/null | grep -q IsViewable; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "$program ended before showing its window; it printed:" >&2
            tail -n 20 "$build/startup-errors.txt" >&2
            exit 1
        fi
    done
    end=$(date +%s%N)
    kb=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (end - start) / 1000000 )) $kb"
}

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

measure "$build/quorvex" Quorvex >/dev/null       # warm-up: caches, fonts
measure "$build/quorvex_floor" Floor >/dev/null
: >"$build/startup-quorvex.txt"
: >"$build/startup-floor.txt"
for _ in $(seq "$runs"); do   # alternate, so that drift hits both alike
    measure "$build/quorvex" Quorvex >>"$build/startup-quorvex.txt"
    measure "$build/quorvex_floor" Floor >>"$build/startup-floor.txt"
done
qt=$(cut -d' ' -f1 "$build/startup-quorvex.txt" | median)
qm=$(cut -d' ' -f2 "$build/startup-quorvex.txt" | median)
ft=$(cut -d' ' -f1 "$build/startup-floor.txt" | median)
fm=$(cut -d' ' -f2 "$build/startup-floor.txt" | median)
printf '%-8s %14s %16s\n' "" "start-up (ms)" "peak RSS (KiB)"
printf '%-8s %14s %16s\n' quorvex "$qt" "$qm" floor "$ft" "$fm"
awk -v a="$qt" -v b="$ft" -v c="$qm" -v d="$fm" \
    'BEGIN {printf "%-8s %14.2f %16.2f\n", "ratio", (b ? a / b : 0), (d ? c / d : 0)}'
echo "($runs runs each, medians)"
