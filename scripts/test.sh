#!/usr/bin/env bash
# Builds everything and runs every test (engine, command line, windows). Fails on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh"
build_dir="${BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j2
