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

# The tests run as a Polish Windows user; Wine takes the user's locale from the Unix one.
bash "$(dirname "$0")/install-packages.sh" --polish-locale "${packages[@]}"
