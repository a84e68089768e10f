#!/usr/bin/env bash
# Saves screenshots of the menu and of each converter window showing a typical
# conversion, taken from the real program under Xvfb:
#   scripts/screenshots.sh [OUTPUT-FOLDER]     (default docs/screenshots)
# QT_SCALE_FACTOR=2 scripts/screenshots.sh /tmp/shots2x  checks high-dpi.
# QUORVEX_BUILD=DIR takes the program from another build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "${1:-docs/screenshots}" && cd "${1:-docs/screenshots}" && pwd)

. scripts/install-missing.sh
install_missing xvfb xdotool imagemagick

build=${QUORVEX_BUILD:-build}
if [ ! -x "$build/quorvex" ]; then
    cmake -S . -B "$build" -Wno-dev >/dev/null
    cmake --build "$build" -j "$(nproc)" --target quorvex
fi

# One run of the program per picture: open window N from the menu with the
# keyboard, type the input, convert with the keys given (Tab to Convert and
# Space, or Enter where the input box converts; "sleep N key" pauses among
# them), take the picture.
cat >"$out/.shoot.sh" <<'INNER'
set -euo pipefail
name=$1 index=$2 title=$3 input=$4 keys=$5 build=$6 out=$7
unset QT_QPA_PLATFORM
"$build/quorvex" & pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
menu=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvex$' | head -n 1)
xdotool windowfocus --sync "$menu"
sleep 0.5
target=$menu
if [ "$index" -ge 0 ]; then
    for ((i = 0; i < index; i++)); do xdotool key Tab; done
    xdotool key space
    target=$(timeout 20 xdotool search --sync --onlyvisible --name "^${title}\$" | head -n 1)
    xdotool windowfocus --sync "$target"
    sleep 0.3
    printf '%s' "$input" | xdotool type --delay 40 --file -
    xdotool key $keys
fi
sleep 0.7
import -window "$target" "$out/$name.png"
INNER
shoot() { ./scripts/xvfb.sh bash "$out/.shoot.sh" "$@" "$build" "$out"; }
shoot menu -1 Quorvex "" ""
shoot binint 0 "Binary Integers" "200" "Return"
shoot fixed 1 "Fixed Point Binary" "1022.999" "Tab space"
shoot floating 2 "Decimal To Floating Point Binary" "-12.625" "Tab space"
shoot decint 3 "Binary Integers To Decimal \\(Unvalidated\\)" "1101" "Tab space"
shoot working 2 "Decimal To Floating Point Binary" "-12.625" "Tab space alt+w"
# The workbench: floating point (the fifth format), 8-bit mantissa and 4-bit
# exponent as it starts, -8.25 to binary with Enter (End leaves the input
# unselected).
shoot workbench 4 "Workbench" "-8.25" "alt+f Home Down Down Down Down alt+u Return End"
# Practice: 0110 0110 0100 to denary (Alt+D, whose click comes a moment
# later, so the script waits), answered 28.5 in My answer (Alt+A) as if the
# mantissa had a hidden leading 1, and checked with Enter.
shoot practice 4 "Workbench" "0110 0110 0100" "alt+f Home Down Down Down Down alt+u alt+d sleep 0.5 key alt+a 2 8 period 5 Return"
rm -f "$out/.shoot.sh"
ls "$out"/*.png
