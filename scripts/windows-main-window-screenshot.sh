#!/usr/bin/env bash
# Takes docs/windows-main-window.png: the Windows main window under Wine, on a virtual X display
# with a window manager, after a conversion of the bundled sample export into an empty ledger
# folder (Ctrl+R, then "Tak"), so that the trace and the status bar show a run. Needs the Windows
# build (BUILD_DIR, default build-windows/) with trevo2KPR.exe.
#
#   windows-main-window-screenshot.sh [PIXELS_PER_INCH [OUT]]
#
# 96 (100 %) and docs/windows-main-window.png unless given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${BUILD_DIR:-$root/build-windows}/win32/mainwindow/trevo2KPR.exe"
dpi="${1:-96}"
out="$(realpath -m "${2:-$root/docs/windows-main-window.png}")"
[[ -f "$program" ]] || { echo "$0: $program is not built" >&2; exit 1; }
[[ -n "${DISPLAY:-}" ]] || exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$dpi" "$out"
source "$root/tests/identity/sides.sh"
source "$root/tests/packaging/windows/x11-session.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-main-shot.XXXXXX")"
trap 'end_x11_session; end_wine_prefix; rm -rf "$work"' EXIT
make_polish_prefix "$work/pfx"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# The program in a folder of its own, its settings beside it naming the sample and a new ledger.
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/trevo2KPR" "$drive/KPR/FIRMA"
cp "$program" "$root/samples/eksp2kap.kpm" "$drive/trevo2KPR/"
printf '[MAIN]\r\nFE_EPP_Text=C:\\trevo2KPR\\eksp2kap.kpm\r\nde_KPR_Text=C:\\KPR\\FIRMA\r\n\r\n' \
    >"$drive/trevo2KPR/trevo2KPR.INI"
start_x11_session
"${windows_env[@]}" wine 'C:\trevo2KPR\trevo2KPR.exe' >/dev/null 2>&1 &
main=$!
window="$(wait_for_window "TREVO 2ORMEK  | w 2008.01.28" 60)"
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers --window "$window" ctrl+r
question="$(wait_for_window "Start ..." 30)"
xdotool windowactivate --sync "$question" 2>/dev/null || true
# "Tak": No is the default button.
xdotool key --clearmodifiers t
until compgen -G "$drive/KPR/FIRMA/*ORMEK.*" >/dev/null; do
    kill -0 "$main" 2>/dev/null || { echo "the program ended" >&2; exit 1; }
    sleep 0.2
done
# The run of 50 documents ends in a moment; then its summary ends the trace.
sleep 2
shoot_window "$window" "$out"
close_window "$window"
wait_for_exit "$main" 30 || true
echo "$out"
