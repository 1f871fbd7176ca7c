#!/usr/bin/env bash
# The main window's caption and layout test at 100, 150 and 200 %: for each, a fresh Wine
# prefix whose user has 96, 144 or 192 pixels per inch (HKCU\Control Panel\Desktop, LogPixels,
# as the display settings set it), then the window tests' caption case in it. Needs an X display
# (scripts/windows-test.sh runs the tests under Xvfb).
#   captions-at-dpi.sh <win32_window_tests.exe>
set -euo pipefail
tests="$1"
scratch="$(mktemp -d)"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    for prefix in "$scratch"/pfx-*; do
        [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT
status=0
for dpi in 96 144 192; do
    export WINEPREFIX="$scratch/pfx-$dpi"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    echo "== $dpi pixels per inch"
    if ! out="$(wine "$tests" --gtest_filter='MainWindowTest.EveryCaption*' 2>&1)"; then
        status=1
    fi
    printf '%s\n' "$out"
    # The window must have been laid out at the prefix's DPI, not at 96.
    if ! grep -q "window DPI $dpi\$" <<<"$(tr -d '\r' <<<"$out")"; then
        echo "FAILED: the window did not run at $dpi pixels per inch"
        status=1
    fi
    wineserver -k 2>/dev/null || true
done
exit "$status"
