#!/usr/bin/env bash
# Makes the Windows installer dist/trevo2kpr-<version>-win64-setup.exe with CPack's NSIS
# generator (makensis from Debian's nsis) from the install rules and settings of
# packaging/windows/. Called by scripts/windows-build.sh after the build; BUILD_DIR as there
# (default build-windows/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-windows}"
config="$build_dir/CPackConfig.cmake"
[[ -f "$config" ]] || { echo "windows-installer.sh: $build_dir is not configured" >&2; exit 1; }
name="$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$config")"
[[ -n "$name" ]] || { echo "windows-installer.sh: no installer name in $config" >&2; exit 1; }

# Stripping stamps the programs with this time instead of the moment: the zip's and the
# installer's programs are the same bytes, and the same again for the same commit.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}"
# CPack works in a folder of its own, so that a failed run never leaves half an installer in
# dist/.
work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-installer.XXXXXX")"
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$config" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    # makensis's own report, which CPack keeps in its folder.
    find "$work" -name NSISOutput.log -exec tail -n 40 {} \; >&2
    exit 1
fi
mkdir -p "$root/dist"
mv -f "$work/$name.exe" "$root/dist/$name.exe"
echo "$root/dist/$name.exe"
