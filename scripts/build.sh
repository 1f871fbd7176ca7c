#!/usr/bin/env bash
# Configures and builds a Release into BUILD_DIR (default build/), with the benchmarks and with
# warnings as errors, as CI builds. Extra arguments go to CMake (e.g.
# -DCMAKE_BUILD_TYPE=RelWithDebInfo for a build to debug).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DTREVO_BUILD_BENCH=ON "$@" >/dev/null
cmake --build "$build_dir" -j2
