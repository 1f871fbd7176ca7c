#!/usr/bin/env bash
# Builds the Debian package trevo2kpr_<version>_amd64.deb with CPack: a Release build of both
# programs in BUILD_DIR (default build-package/), without tests and benchmarks, installed under
# /usr, compiled and linked with Debian's hardening flags (dpkg-buildflags, all hardening
# features on: fortify, stack protector, PIE, RELRO and BIND_NOW; stack clash and control-flow
# protection besides). Library dependencies come from the binaries (dpkg-shlibdeps). Jobs:
# CMAKE_BUILD_PARALLEL_LEVEL, else one per core.
# Extra arguments go to CMake (e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache). Prints the
# package's path as its last line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-package}"
"$root/scripts/install-deps.sh" >&2
export DEB_BUILD_MAINT_OPTIONS="${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}"
# Stack clash protection and, on x86, control-flow protection: what later dpkg versions give
# with hardening=+all and what hardening-check asks for; Debian 12's dpkg does not add them.
extra=""
for flag in -fstack-clash-protection -fcf-protection; do
    [ "$flag" = -fcf-protection ] && [ "$(dpkg --print-architecture)" != amd64 ] && continue
    dpkg-buildflags --get CXXFLAGS | grep -qw -- "$flag" || extra="$extra $flag"
done
export DEB_CXXFLAGS_MAINT_APPEND="${DEB_CXXFLAGS_MAINT_APPEND:-}$extra"
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
cxxflags="$(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
# CMAKE_CXX_FLAGS come before the Release flags (-O3 -DNDEBUG), so the optimisation the
# benchmarks measure stays; the hardening options are not overridden by anything later.
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DTREVO_BUILD_BENCH=OFF \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    "-DCMAKE_CXX_FLAGS=$cppflags $cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
    "-DCMAKE_STRIP=$root/packaging/strip-binary.sh" "$@" >&2
cmake --build "$build_dir" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" >&2
rm -f "$build_dir"/trevo2kpr_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
package=$(ls "$build_dir"/trevo2kpr_*_amd64.deb)
dpkg-deb --field "$package" Package Version Architecture Depends >&2
echo "$package"
