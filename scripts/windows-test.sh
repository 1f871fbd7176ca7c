#!/usr/bin/env bash
# Builds the Windows cross build if needed (scripts/windows-build.sh) and runs every one of its
# tests under Wine, in a Wine prefix made fresh in a temporary folder and removed at the end
# (the identity and zip tests make prefixes of their own, with the Polish regional settings).
# Fails when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
BUILD_DIR="$build_dir" bash "$root/scripts/windows-build.sh" "$@"
# The identity and zip tests compare with a Linux build of the command line (Qt, the Polish locale).
bash "$root/scripts/install-deps.sh"

scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# One server for every test's process, instead of one started and stopped for each. The one
# wineboot started lingers a few seconds and a second cannot start beside it: wait for its end.
wineserver -w
wineserver -p
ctest --test-dir "$build_dir" --output-on-failure -j2
