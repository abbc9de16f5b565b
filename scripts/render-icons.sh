#!/usr/bin/env bash
# Draws the PNG icons from data/icons/vistrel.svg (needs rsvg-convert, Debian
# package librsvg2-bin). The 64-pixel one is also the window's own icon.
set -euo pipefail
cd "$(dirname "$0")/../data"
for size in 48 128 256; do
    rsvg-convert -w "$size" -h "$size" icons/vistrel.svg -o "icons/vistrel-$size.png"
done
rsvg-convert -w 64 -h 64 icons/vistrel.svg -o pictures/vistrel.png
