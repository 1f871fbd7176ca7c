#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need on Debian 12: the MinGW-w64
# compiler (POSIX threads), Wine, GoogleTest's sources, xxHash's header, CMake and Ninja; makensis
# for the installer; for the windows under Wine an X server without a screen, a small window
# manager, xdotool and xprop (x11-utils) to find and drive the windows and ImageMagick for
# screenshots; xvfb-run needs xauth. Installs only what is missing.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix
    wine wine64
    libgtest-dev
    libxxhash-dev
    cmake ninja-build
    locales
    nsis
    xvfb
    xauth
    openbox
    xdotool
    x11-utils
    imagemagick
)

# The tests run as a Polish Windows user; Wine takes the user's locale from the Unix one.
bash "$(dirname "$0")/install-packages.sh" --polish-locale "${packages[@]}"
