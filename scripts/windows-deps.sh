#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need on Debian 12: the MinGW-w64
# compiler (POSIX threads), Wine, GoogleTest's sources, xxHash's header, CMake and Ninja.
# Installs only what is missing.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix
    wine wine64
    libgtest-dev
    libxxhash-dev
    cmake ninja-build
    locales
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

# The tests run as a Polish Windows user; Wine takes the user's locale from the Unix one.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
    sudo_if_needed sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
    sudo_if_needed locale-gen >/dev/null
fi
