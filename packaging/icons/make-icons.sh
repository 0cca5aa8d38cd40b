#!/usr/bin/env bash
# Renders the desktop icon rssfeedzolt.svg into the PNG sizes of the hicolor
# theme. The results are checked in beside this script, so the build needs no
# SVG renderer; run it again after changing the drawing.
#   apt-get install librsvg2-bin
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
for size in 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$here/rssfeedzolt.svg" -o "$here/rssfeedzolt-$size.png"
done
