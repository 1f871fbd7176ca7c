#!/usr/bin/env bash
# Builds the engine and command-line tests with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-sanitize}"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTREVO_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DTREVO_BUILD_GUI=OFF -DTREVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build_dir" --output-on-failure -j2
