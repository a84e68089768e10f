#!/usr/bin/env bash
# Quorvex developer commands, for a Debian 12 machine:
#   scripts/dev.sh run    install what is missing, build, start the program
#   scripts/dev.sh test   install what is missing, build, run every test
#                         (plain, then under AddressSanitizer and
#                         UndefinedBehaviorSanitizer, then the fuzzers)
set -euo pipefail
cd "$(dirname "$0")/.."

# What each command's steps use, beyond a bare Debian 12: the run command
# builds and starts the program (exact numbers come from GMP's C++
# interface, libgmp-dev); the test command also builds the
# benchmarks and the fuzzers, validates the desktop files, builds the Debian
# package (CPack's dependency scan needs `file`) and checks it with lintian,
# checks floating-point rounding against GNU MPFR (libmpfr-dev),
# starts programs under Xvfb, and reads a worksheet's text back (pdftotext).
run_packages=(build-essential cmake qt6-base-dev qt6-qpa-plugins libgl-dev libgmp-dev fonts-liberation)
test_packages=("${run_packages[@]}" libmpfr-dev clang libclang-rt-14-dev libbenchmark-dev
    desktop-file-utils appstream dpkg-dev file lintian xvfb xdotool x11-utils poppler-utils)

jobs=$(nproc 2>/dev/null || echo 2)

. scripts/install-missing.sh

configure() {  # configure DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev "$@" >/dev/null
}

build() {  # build DIR [cmake options...]
    configure "$@"
    cmake --build "$1" -j "$jobs"
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    build build -DBUILD_TESTING=OFF
    exec ./build/quorvex
    ;;
test)
    install_missing "${test_packages[@]}"
    export QT_QPA_PLATFORM=offscreen
    echo "== Tests"
    build build -DBUILD_TESTING=ON -DQUORVEX_WERROR=ON
    ctest --test-dir build --output-on-failure -j "$jobs"
    echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    build build-asan -DBUILD_TESTING=ON -DQUORVEX_WERROR=ON -DQUORVEX_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs"
    echo "== Fuzzers"
    # Three fuzzers, twenty seconds each: the conversions, the marking, and
    # the command line.
    configure build-fuzz -DBUILD_TESTING=OFF -DQUORVEX_FUZZ=ON -DQUORVEX_FUZZ_SECONDS=20 \
        -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j "$jobs" --target fuzz_conversions fuzz_marking fuzz_commandline
    ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-fuzz --output-on-failure
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
