#!/usr/bin/env bash
# Builds the Windows cross build if needed (scripts/windows-build.sh) and runs every one of its
# tests under Wine, in a Wine prefix made fresh in a temporary folder and removed at the end
# (the identity and zip tests make prefixes of their own, with the Polish regional settings),
# on a virtual X display of its own (Xvfb through xvfb-run) for the windows' tests. Fails when any
# test fails twice in a row (see below).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
if [[ -z "${TREVO_WINDOWS_TEST_DISPLAY:-}" ]]; then
    BUILD_DIR="$build_dir" bash "$root/scripts/windows-build.sh" "$@"
    # The identity and zip tests compare with a Linux build of the command line (Qt, the Polish
    # locale).
    bash "$root/scripts/install-deps.sh"
    # The windows' tests need an X display: the tests run again under a virtual one of their own
    # (a free display number, its own authority), which ends with them.
    exec env TREVO_WINDOWS_TEST_DISPLAY=1 BUILD_DIR="$build_dir" \
        xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0"
fi

scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A Polish Windows user, as the users are: Wine takes the user's locale from the Unix one.
export LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
# One server for every test's process, instead of one started and stopped for each; then the
# prefix is made.
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i >/dev/null 2>&1
# The user's money form pinned, through the user's own regional settings as on Windows, to the
# plain one the tests expect on Linux from the C locale: "1234.50", "-1234.50".
cat >"$scratch/money.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Control Panel\International]
"sCurrency"=""
"iCurrency"="0"
"iNegCurr"="1"
"iCurrDigits"="2"
"sMonDecimalSep"="."
"sMonThousandSep"=""
"sMonGrouping"="0;0"
REG
wine reg import "$scratch/money.reg" >/dev/null 2>&1
# A test that fails is run once more, and fails the script only when it fails again: Wine now
# and then fails to start a process at all under load (a test ending in a few milliseconds with
# no output). Both runs show in the log.
ctest --test-dir "$build_dir" --output-on-failure -j2 --repeat until-pass:2
