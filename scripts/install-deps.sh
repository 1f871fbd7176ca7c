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
    bash-completion
    dpkg-dev file desktop-file-utils appstream
    debootstrap lintian devscripts groff-base man-db python3
)

# Money in the trace is printed in the user's regional format; the sample run and the tests
# use the Polish one.
bash "$(dirname "$0")/install-packages.sh" --polish-locale "${packages[@]}"
