#!/usr/bin/env bash
# Cross-builds a Release of the engine, the company list, the settings file, the command line
# and their tests, and the native desktop program, for 64-bit Windows into BUILD_DIR (default
# build-windows/), with warnings as errors and no Qt, then packs
# dist/trevo2kpr-<version>-win64.zip (scripts/windows-zip.sh) and makes the installer
# dist/trevo2kpr-<version>-win64-setup.exe (scripts/windows-installer.sh).
# Extra arguments go to CMake (e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
bash "$root/scripts/windows-deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DTREVO_BUILD_GUI=OFF "$@" >/dev/null
cmake --build "$build_dir" -j2
BUILD_DIR="$build_dir" bash "$root/scripts/windows-zip.sh"
BUILD_DIR="$build_dir" bash "$root/scripts/windows-installer.sh"
