#!/usr/bin/env bash
# The Windows zip as a user gets it: unpacked into a fresh Wine prefix (C:\trevo2kpr), it must
# hold exactly both programs (trevo2KPR.exe and trevo2kpr-cli.exe), README.txt and LICENSE.txt
# (text with Windows line ends), and its command line, started from there with Windows paths,
# must convert the bundled sample into the same period files and the same trace as the Linux
# command line.
#
#   zip-test.sh --zip FILE [--linux-build DIR | --linux-cli CLI] [--no-desktop]
#
# --no-desktop: the build has no desktop program, and the zip holds the command line alone.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/identity/sides.sh"

zip="" linux_build="$root/build-identity-linux" linux_cli="" desktop=true
while (($#)); do
    case "$1" in
        --zip) zip="$2"; shift 2 ;;
        --linux-build) linux_build="$2"; shift 2 ;;
        --linux-cli) linux_cli="$2"; shift 2 ;;
        --no-desktop) desktop=false; shift ;;
        *) echo "zip-test.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -f "$zip" ]] || { echo "zip-test.sh: no zip \"$zip\" (scripts/windows-build.sh makes it)" >&2; exit 1; }
zip="$(realpath "$zip")"
if [[ -z "$linux_cli" ]]; then
    build_linux_side "$linux_build" trevo2kpr-cli
    linux_cli="$linux_build/cli/trevo2kpr-cli"
fi
linux_cli="$(realpath "$linux_cli")"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-zip-test.XXXXXX")"
trap 'end_wine_prefix; rm -rf "$work"' EXIT
fail() {
    echo "zip-test: $*"
    exit 1
}

make_polish_prefix "$work/pfx"
drive="$WINEPREFIX/drive_c"
mkdir "$drive/trevo2kpr" "$drive/dane" "$drive/dane/kpr"
(cd "$drive/trevo2kpr" && cmake -E tar xf "$zip")
name="$(basename "$zip" .zip)"
contents="$(cd "$drive/trevo2kpr" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')"
expected="./$name ./$name/LICENSE.txt ./$name/README.txt "
if $desktop; then
    expected+="./$name/trevo2KPR.exe "
fi
expected+="./$name/trevo2kpr-cli.exe "
[[ "$contents" == "$expected" ]] || fail "the zip holds \"$contents\", not \"$expected\""
for text in README.txt LICENSE.txt; do
    if grep -qv $'\r$' "$drive/trevo2kpr/$name/$text"; then
        fail "$text has a line without a Windows line end"
    fi
done

cp "$root/samples/eksp2kap.kpm" "$drive/dane/"
mkdir -p "$work/linux/kpr"
(cd "$work/linux" && "${linux_env[@]}" "$linux_cli" convert "$root/samples/eksp2kap.kpm" kpr \
    >trace.txt) || fail "the Linux command line exited $?"
(cd "$work" && "${windows_env[@]}" wine "C:\\trevo2kpr\\$name\\trevo2kpr-cli.exe" convert \
    'C:\dane\eksp2kap.kpm' 'C:\dane\kpr' >windows-trace.txt) ||
    fail "the unpacked trevo2kpr-cli.exe exited $?"
cmp "$work/linux/trace.txt" "$work/windows-trace.txt" || fail "the traces differ"

linux_files="$(cd "$work/linux/kpr" && find . -maxdepth 1 -name '*ORMEK.*' | sort)"
windows_files="$(cd "$drive/dane/kpr" && find . -maxdepth 1 -name '*ORMEK.*' | sort)"
[[ -n "$linux_files" ]] || fail "the Linux run wrote no period file"
[[ "$linux_files" == "$windows_files" ]] ||
    fail "period files: Linux $(echo $linux_files), Windows $(echo $windows_files)"
for file in $linux_files; do
    cmp "$work/linux/kpr/$file" "$drive/dane/kpr/$file" || fail "$file differs"
done
echo "zip-test: $name unpacked and converted the sample into $(echo $linux_files | wc -w) identical period files"
