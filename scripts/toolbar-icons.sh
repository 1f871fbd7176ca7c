#!/usr/bin/env bash
# Renders the Qt window's toolbar icons into win32/mainwindow/icons/*.ico (16, 24 and 32 pixels)
# for the Windows window's resource. Run again when the Qt window changes its icons; the .ico
# files are committed, since the Windows build has no Qt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
g++ -std=c++20 -O1 -fPIC "$root/scripts/toolbar-icons/render-icons.cpp" -o "$scratch/render-icons" \
    $(pkg-config --cflags --libs Qt6Widgets)
QT_QPA_PLATFORM=offscreen "$scratch/render-icons" "$root/win32/mainwindow/icons"
