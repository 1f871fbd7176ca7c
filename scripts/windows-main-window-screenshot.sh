#!/usr/bin/env bash
# Takes docs/windows-main-window.png: the Windows main window under Wine, on a virtual X display
# with a window manager, after a conversion of the bundled sample export into an empty ledger
# folder (Ctrl+R, then "Tak"), so that the trace and the status bar show a run. Needs the Windows
# build (BUILD_DIR, default build-windows/) with trevo2KPR.exe.
#
#   windows-main-window-screenshot.sh [--dpi N] [--out FILE]
#
# --dpi: the screen's pixels per inch in the Wine prefix (96 is 100 %, 144 is 150 %);
# --out: another picture than docs/windows-main-window.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
program="$build_dir/win32/mainwindow/trevo2KPR.exe"
dpi=96 out="$root/docs/windows-main-window.png"
args=("$@")
while (($#)); do
    case "$1" in
        --dpi) dpi="$2"; shift 2 ;;
        --out) out="$(realpath -m "$2")"; shift 2 ;;
        *) echo "windows-main-window-screenshot.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -f "$program" ]] || { echo "windows-main-window-screenshot.sh: $program is not built" >&2; exit 1; }
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "${args[@]}"
fi
source "$root/tests/identity/sides.sh"
source "$root/tests/packaging/windows/x11-session.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-main-shot.XXXXXX")"
trap 'end_x11_session; end_wine_prefix; rm -rf "$work"' EXIT
make_polish_prefix "$work/pfx"
if ((dpi != 96)); then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/trevo2KPR" "$drive/KPR/FIRMA"
cp "$program" "$drive/trevo2KPR/"
cp "$root/samples/eksp2kap.kpm" "$drive/trevo2KPR/"
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
# The run of 50 documents ends in a moment; its summary is the trace's last line.
until compgen -G "$drive/KPR/FIRMA/*ORMEK.*" >/dev/null; do
    kill -0 "$main" 2>/dev/null || { echo "the program ended" >&2; exit 1; }
    sleep 0.2
done
sleep 2
# The window with the window manager's frame around it.
info="$(xwininfo -id "$window")"
x="$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")"
y="$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")"
width="$(sed -n 's/.*Width: *//p' <<<"$info")"
height="$(sed -n 's/.*Height: *//p' <<<"$info")"
extents="$(xprop -id "$window" _NET_FRAME_EXTENTS |
    sed -n 's/.*= \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p')"
read -r left right top bottom <<<"${extents:-0 0 0 0}"
import -window root \
    -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
    +repage "$work/shot.png"
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip "$out"
close_window "$window"
wait_for_exit "$main" 30 || true
echo "$out"
