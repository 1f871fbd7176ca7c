#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from trevo2kpr.svg (rsvg-convert, package
# librsvg2-bin). Run after changing the drawing; the PNGs are kept in the tree.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$here/trevo2kpr.svg" -o "$here/icons/trevo2kpr-$size.png"
done
