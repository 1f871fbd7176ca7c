#!/usr/bin/env bash
# The Windows installer as an administrator runs it: silently (/S) into a fresh Wine prefix.
# What it installs must be the zip's programs and texts, byte for byte, in
# C:\Program Files\trevo2KPR with its uninstaller, listed among the installed programs, with a
# Start menu entry for the desktop program; the installed command line must run and the
# installed desktop program must open its window (on the X display the test is given, with a
# window manager) and close when asked. The uninstaller (/S) must then remove every file and
# entry the installer made and leave the user's settings in %APPDATA%\trevo2KPR and a ledger
# alone.
#
#   installer-test.sh --installer SETUP.EXE --zip ZIP [--desktop CAPTION]
#
# --desktop: the installer holds the desktop program, whose main window has CAPTION.
# Needs DISPLAY (xvfb-run) for the desktop program; prints the install and uninstall times.
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$root/tests/identity/sides.sh"
source "$root/tests/packaging/windows/x11-session.sh"

installer="" zip="" caption=""
while (($#)); do
    case "$1" in
        --installer) installer="$2"; shift 2 ;;
        --zip) zip="$2"; shift 2 ;;
        --desktop) caption="$2"; shift 2 ;;
        *) echo "installer-test.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -f "$installer" ]] || { echo "installer-test.sh: no installer \"$installer\"" >&2; exit 1; }
[[ -f "$zip" ]] || { echo "installer-test.sh: no zip \"$zip\"" >&2; exit 1; }
installer="$(realpath "$installer")" zip="$(realpath "$zip")"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-installer-test.XXXXXX")"
trap 'end_x11_session; end_wine_prefix; rm -rf "$work"' EXIT
fail() {
    echo "installer-test: $*"
    exit 1
}
make_polish_prefix "$work/pfx"
# Wine would copy the installer's Start menu entries into the real user's desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
drive="$WINEPREFIX/drive_c"
target="$drive/Program Files/trevo2KPR"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/trevo2KPR"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\trevo2KPR'
# What the installer must lay out: the zip's files, and its uninstaller.
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
unpacked="$work/zip/$(basename "$zip" .zip)"
expected="$( (cd "$unpacked" && find . -type f; echo ./Odinstaluj.exe) | LC_ALL=C sort | tr '\n' ' ')"
if [[ -n "$caption" ]]; then
    [[ -f "$unpacked/trevo2KPR.exe" ]] || fail "the zip has no trevo2KPR.exe"
fi
cp "$installer" "$drive/setup.exe"

start=$(date +%s%N)
wine 'C:\setup.exe' /S || fail "the installer exited $?"
wineserver -w
install_ms=$((($(date +%s%N) - start) / 1000000))

[[ -d "$target" ]] || fail "nothing installed in C:\\Program Files\\trevo2KPR"
installed="$( (cd "$target" && find . -type f) | LC_ALL=C sort | tr '\n' ' ')"
[[ "$installed" == "$expected" ]] || fail "installed \"$installed\", not \"$expected\""
for file in $(cd "$unpacked" && find . -type f); do
    cmp "$unpacked/$file" "$target/$file" || fail "the installed $file is not the zip's"
done
[[ -f "$menu/Uninstall.lnk" ]] || fail "no Start menu entry for the uninstaller"
if [[ -n "$caption" ]]; then
    [[ -f "$menu/trevo2KPR.lnk" ]] || fail "no Start menu entry for trevo2KPR"
fi
registered="$(wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | tr -d '\r')"
[[ "$registered" == *'"C:\Program Files\trevo2KPR\Odinstaluj.exe"'* ]] ||
    fail "the uninstaller is not registered among the installed programs: $registered"

version="$(wine 'C:\Program Files\trevo2KPR\trevo2kpr-cli.exe' --version | tr -d '\r')" ||
    fail "the installed trevo2kpr-cli.exe exited $?"
[[ "$version" == trevo2kpr-cli* ]] || fail "trevo2kpr-cli.exe --version said \"$version\""

appdata="$(wine cmd /c echo '%APPDATA%' | tr -d '\r')"
settings="$(winepath -u "$appdata")/trevo2KPR/trevo2KPR.INI"
if [[ -n "$caption" ]]; then
    start_x11_session
    wine 'C:\Program Files\trevo2KPR\trevo2KPR.exe' >"$work/desktop.log" 2>&1 &
    desktop=$!
    window="$(wait_for_window "$caption" 60)" ||
        fail "the installed trevo2KPR.exe showed no window \"$caption\""
    close_window "$window"
    wait_for_exit "$desktop" 30 || fail "trevo2KPR.exe did not end when its window was closed"
    wineserver -w
    # Installed under Program Files, it keeps its settings in the user's %APPDATA%.
    [[ -f "$settings" ]] || fail "trevo2KPR.exe wrote no settings to %APPDATA%\\trevo2KPR"
    grep -q '^\[MAIN\]' "$settings" || fail "the settings file has no MAIN section"
    [[ ! -e "$target/trevo2KPR.INI" ]] || fail "trevo2KPR.exe wrote its settings into Program Files"
else
    # The user's settings, as the desktop program would have left them.
    mkdir -p "$(dirname "$settings")"
    printf '[MAIN]\r\nde_KPR_Text=C:\\kpr\\firma1\r\n\r\n' >"$settings"
fi
# A ledger beside them; the uninstaller must touch neither.
mkdir -p "$drive/kpr/firma1"
cp "$settings" "$work/settings.INI"
cp "$root/samples/eksp2kap.kpm" "$drive/kpr/firma1/2024ORMEK.11"

start=$(date +%s%N)
wine 'C:\Program Files\trevo2KPR\Odinstaluj.exe' /S || fail "the uninstaller exited $?"
# It runs on as a copy of itself in the temporary folder, so that it can delete its own file.
wineserver -w
uninstall_ms=$((($(date +%s%N) - start) / 1000000))

if [[ -d "$target" ]]; then
    left="$( (cd "$target" && find . -mindepth 1) | LC_ALL=C sort | tr '\n' ' ')"
    fail "the uninstaller left \"$left\" in C:\\Program Files\\trevo2KPR"
fi
[[ ! -e "$menu" ]] || fail "the uninstaller left the Start menu folder"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstaller left its entry among the installed programs"
fi
cmp "$work/settings.INI" "$settings" || fail "the uninstaller changed the user's settings"
cmp "$root/samples/eksp2kap.kpm" "$drive/kpr/firma1/2024ORMEK.11" ||
    fail "the uninstaller changed a ledger"

echo "installer-test: $(basename "$installer") ($(stat -c %s "$installer") bytes) installed" \
    "$(echo $installed | wc -w) files in $install_ms ms, the uninstaller removed them" \
    "in $uninstall_ms ms and left the settings and the ledger"
