#!/usr/bin/env bash
# Runs inside the fresh system of scripts/package-test.sh, as root, once the package is
# installed: both programs from their installed paths, as an ordinary user and as root; the
# bash completion; then the package is purged and nothing of its may be left.
set -euo pipefail

fail() { echo "package check: $*" >&2; exit 1; }

for path in /usr/bin/trevo2KPR /usr/bin/trevo2kpr-cli \
    /usr/share/applications/pl.trevo2kpr.trevo2kpr.desktop \
    /usr/share/metainfo/pl.trevo2kpr.trevo2kpr.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/trevo2kpr.svg \
    /usr/share/icons/hicolor/48x48/apps/trevo2kpr.png \
    /usr/share/man/man1/trevo2kpr-cli.1.gz /usr/share/man/man1/trevo2KPR.1.gz \
    /usr/share/man/pl/man1/trevo2kpr-cli.1.gz /usr/share/man/pl/man1/trevo2KPR.1.gz \
    /usr/share/doc/trevo2kpr/copyright /usr/share/doc/trevo2kpr/changelog.gz \
    /usr/share/doc/trevo2kpr/README.md.gz /usr/share/doc/trevo2kpr/docs/main-window.png \
    /usr/share/bash-completion/completions/trevo2kpr-cli; do
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

echo "-- trevo2KPR --version and --help without a display"
for option in --version --help; do
    out=$(as_user env QT_QPA_PLATFORM=no-such-platform trevo2KPR "$option" 2>&1) ||
        fail "trevo2KPR $option failed: $out"
    echo "$out" | head -n 1
done
case "$(as_user trevo2KPR --version)" in
    "trevo2KPR $expected") ;;
    *) fail "trevo2KPR --version does not name version $expected" ;;
esac

echo "-- bash completion"
as_user bash /tmp/check-bash-completion.sh /usr/share/bash-completion/completions/trevo2kpr-cli \
    /usr/bin/trevo2kpr-cli || fail "the bash completion failed"

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

# Starts the window offscreen as USER with HOME, ends it with SIGTERM and checks that its
# settings were saved in HOME/.config/trevo2KPR/ and nowhere near the program.
window_saves_settings() {
    local user="$1" home="$2" window status=0
    local settings="$home/.config/trevo2KPR/trevo2KPR.INI"
    # Started directly, not through a shell function, so that $! is the program itself.
    setpriv --reuid="$user" --regid="$user" --init-groups \
        env -i PATH=/usr/bin:/bin HOME="$home" LANG=pl_PL.UTF-8 QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="/tmp/runtime-$user" trevo2KPR >"/tmp/window-$user.log" 2>&1 &
    window=$!
    sleep 3  # long enough to come up and enter its event loop
    kill -TERM "$window"
    wait "$window" || status=$?
    cat "/tmp/window-$user.log"
    [ "$status" -eq 0 ] || fail "the window of $user ended with status $status"
    [ -f "$settings" ] || fail "no settings file at $settings"
    grep -q '^\[MAIN\]' "$settings" || fail "no [MAIN] section in $settings"
    [ "$(stat -c %U "$settings")" = "$user" ] || fail "$settings is not $user's"
    [ ! -e /usr/bin/trevo2KPR.INI ] || fail "a settings file appeared in /usr/bin"
    echo "settings of $user: $settings ($(grep -c = "$settings") values)"
}

echo "-- the window offscreen as a user: start, SIGTERM, settings saved"
window_saves_settings ksiegowa /home/ksiegowa

echo "-- as root: a conversion and the window, whose settings go to root's folder"
mkdir -p /root/kpr/FIRMA1
env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 trevo2kpr-cli convert /tmp/eksp2kap.kpm \
    /root/kpr/FIRMA1 >/tmp/trace-root.txt || fail "the conversion as root failed"
tail -n 1 /tmp/trace-root.txt
mkdir -p /tmp/runtime-root && chmod 700 /tmp/runtime-root
window_saves_settings root /root

echo "-- purge"
files=$(dpkg-query -L trevo2kpr)
env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q trevo2kpr >/tmp/purge.log 2>&1 ||
    { cat /tmp/purge.log; fail "apt-get purge failed"; }
while IFS= read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        fail "$path is still there after the purge"
    fi
done <<<"$files"
left=$(find /usr /etc /var /opt -xdev -iname '*trevo2kpr*' 2>/dev/null || true)
[ -z "$left" ] || fail "left after the purge: $left"
dpkg-query -W trevo2kpr >/dev/null 2>&1 && fail "dpkg still knows trevo2kpr"
echo "purged: nothing of the package's is left (the users' own settings stay in their homes)"
echo "-- all package checks passed"
