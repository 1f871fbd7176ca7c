#!/usr/bin/env bash
# Packs the Windows programs for users who want no installer: dist/trevo2kpr-<version>-win64.zip
# with one folder trevo2kpr-<version>-win64/ holding what the install rules of
# packaging/windows/ lay out (the desktop program trevo2KPR.exe and the command line
# trevo2kpr-cli.exe, both static: no DLL beside them; README.txt and LICENSE.txt with Windows
# line ends). Portable: the desktop program keeps its settings beside itself when its folder
# takes files. Called by scripts/windows-build.sh after the build; BUILD_DIR as there (default
# build-windows/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
version="$(sed -n 's/^project(trevo2KPR VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[[ -n "$version" ]] || { echo "windows-zip.sh: no version in CMakeLists.txt" >&2; exit 1; }
exe="$build_dir/cli/trevo2kpr-cli.exe"
[[ -f "$exe" ]] || { echo "windows-zip.sh: $exe is not built" >&2; exit 1; }

# Stripping stamps the programs with this time instead of the moment: the zip's and the
# installer's programs are the same bytes, and the same again for the same commit.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}"
name="trevo2kpr-$version-win64"
stage="$(mktemp -d "${TMPDIR:-/tmp}/trevo-zip.XXXXXX")"
trap 'rm -rf "$stage"' EXIT
cmake --install "$build_dir" --prefix "$stage/$name" --strip >/dev/null

mkdir -p "$root/dist"
zip="$root/dist/$name.zip"
# Written beside and renamed, so that a failed pack never leaves half a zip under the name; the
# files carry the last commit's time, not the moment of packing.
stamp="$(TZ=UTC git -C "$root" log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S' 2>/dev/null || date -u '+%Y-%m-%d %H:%M:%S') UTC"
(cd "$stage" && cmake -E tar cf "$zip.part" --format=zip --mtime="$stamp" "$name")
mv -f "$zip.part" "$zip"
echo "$zip"
