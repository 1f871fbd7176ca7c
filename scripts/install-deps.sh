#!/usr/bin/env bash
# Installs what building, testing, benchmarking and packaging trevo2KPR needs on Debian 12.
# Installs only what is missing, so it is quick on a machine that has everything.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config git
    libgtest-dev
    libxxhash-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth
    clang libclang-rt-dev clang-format
    locales
    time
    qt6-translations-l10n
    dpkg-dev file desktop-file-utils appstream
    debootstrap
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done

sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_if_needed apt-get update -q
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Money in the trace is printed in the user's regional format; the sample run and the tests
# use the Polish one.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
    sudo_if_needed sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
    sudo_if_needed locale-gen >/dev/null
fi
