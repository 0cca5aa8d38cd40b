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
# The Windows icon: the same pictures as PNG entries of one .ico file.
python3 - "$here" <<'PY'
import struct, sys
here = sys.argv[1]
sizes = [48, 64, 128, 256]
images = [open(f"{here}/rssfeedzolt-{s}.png", "rb").read() for s in sizes]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for s, data in zip(sizes, images):
    out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open(f"{here}/rssfeedzolt.ico", "wb").write(out + b"".join(images))
PY
