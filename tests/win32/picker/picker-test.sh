#!/usr/bin/env bash
# The picker dialog as a user meets it, under Wine on the X display the test is given, with a
# window manager: a list of Polish companies in Mazovia, the settings file naming it. The grid
# must show the companies in Polish order with the ledger directory's company current and the
# focus on the grid; Down and Enter must confirm the next company and give its directory; the
# dialog's settings section must be written; Escape must close it without a choice; a double
# click on the column titles must confirm the current company.
#
#   picker-test.sh --probe picker_probe.exe
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$root/tests/identity/sides.sh"
source "$root/tests/packaging/windows/x11-session.sh"

probe=""
while (($#)); do
    case "$1" in
        --probe) probe="$2"; shift 2 ;;
        *) echo "picker-test.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -f "$probe" ]] || { echo "picker-test.sh: no probe \"$probe\"" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-picker-test.XXXXXX")"
trap 'end_x11_session; end_wine_prefix; rm -rf "$work"' EXIT
fail() {
    echo "picker-test: $*"
    [[ -f "$work/out.txt" ]] && sed 's/^/  probe: /' "$work/out.txt"
    exit 1
}
make_polish_prefix "$work/pfx"
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/kpr" "$drive/picker"
cp "$probe" "$drive/picker/picker_probe.exe"
wine 'C:\picker\picker_probe.exe' make-list 'C:\kpr\spisfirm.dat' || fail "make-list exited $?"
printf '[SPISFIRM]\r\nFilenameEdit_FileName=C:\\kpr\\spisfirm.dat\r\n\r\n' >"$drive/picker/trevo2KPR.INI"
start_x11_session

# Starts the picker for LEDGER_DIR and waits until it has shown its first load.
open_picker() {
    "${windows_env[@]}" wine 'C:\picker\picker_probe.exe' pick "$1" 'C:\picker\trevo2KPR.INI' >"$work/out.txt" 2>/dev/null &
    picker=$!
    local deadline=$((SECONDS + 60))
    until grep -q '^shown' "$work/out.txt" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "the picker did not show its list"
        kill -0 "$picker" 2>/dev/null || fail "the probe ended before the picker showed its list"
        sleep 0.2
    done
    window="$(wait_for_window "SpisFirm wg KPR" 10)" || fail "no window \"SpisFirm wg KPR\""
    xdotool windowactivate --sync "$window" 2>/dev/null || true
}

open_picker 'C:\kpr\LAKA'
rows="$(sed -n 's/^row\t//p' "$work/out.txt")"
expected="$(printf '%s\n' \
    $'Apteka Śródmieście\tAPTEKA\tapteka nr …' \
    $'Cukiernia Ósemka\tCUKIER\tciastka i …' \
    $'Ćma Spółdzielnia Pracy\tCMA\t' \
    $'Lubelskie Młyny S.A.\tLUBMLYN\tmłyn' \
    $'Łąka Sp. j.\tLAKA\trolnictwo' \
    $'Zakład Stolarski Nowak\tSTOLARZ\t' \
    $'Źródło Zakład Usług\tZRODLO\tusługi' \
    $'Żabka Kraków Sp. z o.o.\tZABKA\tsklep')"
[[ "$rows" == "$expected" ]] || fail "the grid shows
$rows
and not
$expected"
grep -q $'^current\t4\t▶$' "$work/out.txt" || fail "Łąka (LAKA) is not the marked current row"
grep -q $'^focus\tgrid$' "$work/out.txt" || fail "the focus is not on the grid"
grep -q $'^status\t.*spisfirm.dat' "$work/out.txt" || fail "the status line names no list file"

xdotool key --clearmodifiers Down Return
wait_for_exit "$picker" 30 || fail "Enter did not close the picker"
grep -qx $'chosen\tC:\\\\kpr\\\\STOLARZ' "$work/out.txt" ||
    fail "Down and Enter did not give C:\\kpr\\STOLARZ"
tr -d '\r' <"$drive/picker/trevo2KPR.INI" >"$work/settings.txt"
grep -q '^FilenameEdit_FileName=C:\\kpr\\spisfirm.dat$' "$work/settings.txt" ||
    fail "the settings lost the list file's name"
grep -q '^NormPos=' "$work/settings.txt" || fail "the picker did not save its placement"

open_picker 'C:\kpr\ZABKA'
grep -q $'^current\t7\t' "$work/out.txt" || fail "Żabka (ZABKA) is not the current row"
xdotool key --clearmodifiers Escape
wait_for_exit "$picker" 30 || fail "Escape did not close the picker"
grep -q '^cancelled' "$work/out.txt" || fail "Escape gave a choice"

# A double click on the column titles confirms too: the current company.
open_picker 'C:\kpr\CMA'
read -r _ x y < <(grep $'^titles\t' "$work/out.txt")
xdotool mousemove --window "$window" "$x" "$y" click --repeat 2 --delay 80 1
wait_for_exit "$picker" 30 || fail "a double click on the titles did not close the picker"
grep -qx $'chosen\tC:\\\\kpr\\\\CMA' "$work/out.txt" ||
    fail "a double click on the titles did not give C:\\kpr\\CMA"
echo "picker-test: 8 companies in Polish order, Enter and a double click confirmed, Escape" \
    "cancelled"
