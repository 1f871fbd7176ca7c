#!/usr/bin/env bash
# Builds everything as a Release with clang into BUILD_DIR (default build-clang/), warnings as
# errors, and runs every test there: the second compiler a release must build with.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-clang}"
CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DTREVO_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j2
