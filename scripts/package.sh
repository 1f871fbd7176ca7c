#!/usr/bin/env bash
# Builds the Debian package trevo2kpr_<version>_amd64.deb with CPack: a Release build of both
# programs in BUILD_DIR (default build-package/), without tests and benchmarks, installed under
# /usr. Library dependencies come from the binaries (dpkg-shlibdeps). Prints the package's path
# as its last line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-package}"
"$root/scripts/install-deps.sh" >&2
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DTREVO_BUILD_BENCH=OFF \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >&2
cmake --build "$build_dir" -j2 >&2
rm -f "$build_dir"/trevo2kpr_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
package=$(ls "$build_dir"/trevo2kpr_*_amd64.deb)
dpkg-deb --field "$package" Package Version Architecture Depends >&2
echo "$package"
