#!/usr/bin/env bash
# Runs inside the fresh system of scripts/package-test.sh, as root, once the package is
# installed: both programs from their installed paths, the window as an ordinary user.
set -euo pipefail

fail() { echo "package check: $*" >&2; exit 1; }

for path in /usr/bin/trevo2KPR /usr/bin/trevo2kpr-cli \
    /usr/share/applications/pl.trevo2kpr.trevo2kpr.desktop \
    /usr/share/metainfo/pl.trevo2kpr.trevo2kpr.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/trevo2kpr.svg \
    /usr/share/icons/hicolor/48x48/apps/trevo2kpr.png \
    /usr/share/man/man1/trevo2kpr-cli.1.gz /usr/share/man/man1/trevo2KPR.1.gz; do
    [ -e "$path" ] || fail "$path is not installed"
done
ls /usr/share/qt6/translations/qtbase_pl.qm >/dev/null || fail "Qt's Polish translations are missing"

useradd --create-home --shell /bin/bash ksiegowa 2>/dev/null || true
as_user() {
    setpriv --reuid=ksiegowa --regid=ksiegowa --init-groups \
        env -i PATH=/usr/bin:/bin HOME=/home/ksiegowa LANG=C.UTF-8 "$@"
}

echo "-- trevo2kpr-cli --version"
version=$(as_user trevo2kpr-cli --version 2>&1) || fail "trevo2kpr-cli --version failed: $version"
echo "$version"
expected=$(dpkg-query -W -f='${Version}' trevo2kpr)
case "$version" in
    *"$expected"*) ;;
    *) fail "--version printed '$version', the package is $expected" ;;
esac

echo "-- a conversion of the sample"
as_user mkdir -p /home/ksiegowa/kpr/FIRMA1
cp /tmp/eksp2kap.kpm /home/ksiegowa/eksp2kap.kpm
chown ksiegowa: /home/ksiegowa/eksp2kap.kpm
as_user trevo2kpr-cli convert --code-page mazovia /home/ksiegowa/eksp2kap.kpm \
    /home/ksiegowa/kpr/FIRMA1 >/tmp/trace.txt || fail "the conversion failed"
tail -n 2 /tmp/trace.txt
records=0
for file in /home/ksiegowa/kpr/FIRMA1/*ORMEK.*; do
    size=$(stat -c %s "$file")
    [ $((size % 400)) -eq 0 ] || fail "$file is not whole records"
    records=$((records + size / 400))
done
[ "$records" -gt 0 ] || fail "no records were written"
echo "records written: $records"

echo "-- the window offscreen: start, SIGTERM, settings saved"
settings=/home/ksiegowa/.config/trevo2KPR/trevo2KPR.INI
# Started directly, not through the shell function, so that $! is the program itself.
setpriv --reuid=ksiegowa --regid=ksiegowa --init-groups \
    env -i PATH=/usr/bin:/bin HOME=/home/ksiegowa LANG=pl_PL.UTF-8 QT_QPA_PLATFORM=offscreen \
    XDG_RUNTIME_DIR=/tmp/runtime-ksiegowa trevo2KPR >/tmp/window.log 2>&1 &
window=$!
sleep 3  # long enough to come up and enter its event loop
kill -TERM "$window"
status=0
wait "$window" || status=$?
cat /tmp/window.log
[ "$status" -eq 0 ] || fail "the window ended with status $status"
[ -f "$settings" ] || fail "no settings file at $settings"
grep -q '^\[MAIN\]' "$settings" || fail "no [MAIN] section in $settings"
[ "$(stat -c %U "$settings")" = ksiegowa ] || fail "$settings is not the user's"
[ ! -e /usr/bin/trevo2KPR.INI ] || fail "a settings file appeared in /usr/bin"
echo "settings: $settings ($(grep -c = "$settings") values)"
echo "-- all package checks passed"
