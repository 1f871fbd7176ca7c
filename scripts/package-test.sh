#!/usr/bin/env bash
# Builds the Debian package, checks it as a packager would (lintian without errors or warnings,
# hardening-check on both programs), and tries it on a fresh Debian 12 that has never seen the
# build: a minimal bookworm chroot (debootstrap from the configured mirror), `apt install
# ./*.deb`, then as an ordinary user and as root: trevo2kpr-cli --version, a conversion of the
# sample, the window offscreen (start, SIGTERM, settings saved under ~/.config), and at the
# end `apt-get purge`, after which nothing of the package's may be left.
#
# The bootstrapped system is cached as a tarball (CACHE_DIR, default
# /var/cache/trevo2kpr-package-test) together with the downloaded packages, so later runs only
# unpack it. Needs root (chroot, mounts).
#   scripts/package-test.sh [PACKAGE.deb]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cache_dir="${CACHE_DIR:-/var/cache/trevo2kpr-package-test}"
start=$(date +%s)

step() { echo "== $* ($(( $(date +%s) - start )) s)"; }

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=CACHE_DIR,BUILD_DIR,CI "$0" "$@"
fi

for tool in debootstrap chroot lintian hardening-check dpkg-deb objdump; do
    command -v "$tool" >/dev/null || { echo "package-test: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

if [ $# -ge 1 ]; then
    package="$(realpath "$1")"
else
    step "building the package"
    package="$(bash "$root/scripts/package.sh" | tail -n 1)"
fi
[ -f "$package" ] || { echo "package-test: no package at '$package'" >&2; exit 2; }
echo "package: $package"

step "lintian"
# Errors and warnings fail; overrides, each with its reason, live in the package itself.
lintian --fail-on error,warning --display-info "$package" || {
    echo "package-test: lintian found errors or warnings" >&2
    exit 1
}

step "hardening-check on both programs"
unpacked="$(mktemp -d "${TMPDIR:-/tmp}/trevo2kpr-unpacked-XXXXXX")"
dpkg-deb -x "$package" "$unpacked"
status=0
# Control-flow protection is compiled in (-fcf-protection: every function starts with endbr64),
# but no binary linked on Debian 12 can carry the IBT/SHSTK property hardening-check looks for:
# the C runtime's own start files (Scrt1.o, crti.o of libc6-dev) lack it, and the linker marks
# a program only when every object has it. So that check is skipped, and the instructions are
# looked for instead.
hardening-check --nocfprotection "$unpacked/usr/bin/trevo2KPR" "$unpacked/usr/bin/trevo2kpr-cli" ||
    status=$?
for program in trevo2KPR trevo2kpr-cli; do
    # Counted, not grep -q: an early end of the reader would fail the pipe under pipefail.
    [ "$(objdump -d "$unpacked/usr/bin/$program" | grep -c endbr64)" -gt 0 ] || {
        echo "package-test: $program was built without -fcf-protection" >&2
        status=1
    }
done
rm -rf "$unpacked"
[ "$status" -eq 0 ] || { echo "package-test: hardening-check failed" >&2; exit 1; }

# The mirror the machine already uses: the first Debian URI of the configured sources.
mirror=""
for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    mirror=$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }' "$file")
    [ -n "$mirror" ] && break
done
if [ -z "$mirror" ]; then
    mirror=$(grep -hE '^deb +[^ ]*/debian/? ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
        | awk '{ print $2; exit }' || true)
fi
[ -n "$mirror" ] || { echo "package-test: no Debian mirror in /etc/apt/sources.list(.d)" >&2; exit 2; }
echo "mirror: $mirror"

mkdir -p "$cache_dir/archives/partial"
base="$cache_dir/bookworm-minbase.tar"
if [ ! -s "$base" ]; then
    step "bootstrapping Debian 12 (once; cached in $base)"
    fresh="$(mktemp -d "$cache_dir/bootstrap-XXXXXX")"
    debootstrap --variant=minbase --cache-dir="$cache_dir/archives" bookworm "$fresh" "$mirror" \
        >"$cache_dir/debootstrap.log" 2>&1 || { tail -n 30 "$cache_dir/debootstrap.log"; exit 1; }
    tar -C "$fresh" -cf "$base.new" .
    mv "$base.new" "$base"
    rm -rf "$fresh"
fi

system="$(mktemp -d "${TMPDIR:-/tmp}/trevo2kpr-system-XXXXXX")"
mounted=()
cleanup() {
    local i
    for (( i=${#mounted[@]}-1; i>=0; i-- )); do
        umount -l "${mounted[$i]}" 2>/dev/null || true
    done
    # Never remove through a mount that is still there (the host's /dev, /proc, the cache).
    if grep -qF " $system/" /proc/self/mounts; then
        echo "package-test: $system still has mounts; left in place" >&2
        return
    fi
    rm -rf --one-file-system "$system"
}
trap cleanup EXIT
step "unpacking a fresh system"
tar -C "$system" -xf "$base"
chmod 755 "$system"  # its root, which mktemp made private
for dir in proc sys dev; do
    mount --rbind "/$dir" "$system/$dir"
    mount --make-rslave "$system/$dir"
    mounted+=("$system/$dir")
done
# Downloaded packages are kept between runs.
mount --bind "$cache_dir/archives" "$system/var/cache/apt/archives"
mounted+=("$system/var/cache/apt/archives")
cp /etc/resolv.conf "$system/etc/resolv.conf" 2>/dev/null || true
echo "deb $mirror bookworm main" >"$system/etc/apt/sources.list"
cp "$package" "$system/tmp/"
cp "$root/samples/eksp2kap.kpm" "$system/tmp/"
cp "$root/scripts/package-check-inside.sh" "$system/tmp/"
cp "$root/tests/packaging/check-bash-completion.sh" "$system/tmp/"

in_system() { chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

step "apt install ./$(basename "$package")"
# The package cache is the host's folder, which apt's sandbox user cannot write.
in_system apt-get -o APT::Sandbox::User=root update -q >/dev/null
in_system env DEBIAN_FRONTEND=noninteractive apt-get -o APT::Sandbox::User=root \
    install -y -q --no-install-recommends \
    "/tmp/$(basename "$package")" >"$system/tmp/apt.log" 2>&1 || { tail -n 30 "$system/tmp/apt.log"; exit 1; }
grep -E '^(Setting up|Unpacking) ' "$system/tmp/apt.log" | wc -l | xargs echo "packages set up:"

step "checks inside the fresh system"
in_system bash /tmp/package-check-inside.sh
step "package test passed"
