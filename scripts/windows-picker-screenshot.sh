#!/usr/bin/env bash
# Takes docs/windows-picker.png: the Windows company picker under Wine, on a virtual X display
# with a window manager, over a list of Polish companies (the picker test's), the company of
# the ledger directory C:\kpr\LAKA selected. Needs the Windows build (BUILD_DIR, default
# build-windows/) with its picker_probe.
#
#   windows-picker-screenshot.sh [--dpi N] [--out FILE]
#
# --dpi: the screen's pixels per inch in the Wine prefix (96 is 100 %, 144 is 150 %);
# --out: another picture than docs/windows-picker.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
probe="$build_dir/tests/win32/picker/picker_probe.exe"
dpi=96 out="$root/docs/windows-picker.png"
args=("$@")
while (($#)); do
    case "$1" in
        --dpi) dpi="$2"; shift 2 ;;
        --out) out="$(realpath -m "$2")"; shift 2 ;;
        *) echo "windows-picker-screenshot.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -f "$probe" ]] || { echo "windows-picker-screenshot.sh: $probe is not built" >&2; exit 1; }
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "${args[@]}"
fi
source "$root/tests/identity/sides.sh"
source "$root/tests/packaging/windows/x11-session.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-picker-shot.XXXXXX")"
trap 'end_x11_session; end_wine_prefix; rm -rf "$work"' EXIT
make_polish_prefix "$work/pfx"
if ((dpi != 96)); then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/kpr" "$drive/picker"
cp "$probe" "$drive/picker/picker_probe.exe"
wine 'C:\picker\picker_probe.exe' make-list 'C:\kpr\spisfirm.dat'
printf '[SPISFIRM]\r\nFilenameEdit_FileName=C:\\kpr\\spisfirm.dat\r\n\r\n' >"$drive/picker/trevo2KPR.INI"
start_x11_session
"${windows_env[@]}" wine 'C:\picker\picker_probe.exe' pick 'C:\kpr\LAKA' \
    'C:\picker\trevo2KPR.INI' >"$work/out.txt" 2>/dev/null &
picker=$!
until grep -q '^shown' "$work/out.txt" 2>/dev/null; do
    kill -0 "$picker" 2>/dev/null || { echo "the picker did not open" >&2; exit 1; }
    sleep 0.2
done
window="$(wait_for_window "SpisFirm wg KPR" 10)"
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 1
shoot_window "$window" "$out"
xdotool key --clearmodifiers Escape
wait "$picker" || true
echo "$out"
