#!/usr/bin/env bash
# Draws the demo brand's pictures with ImageMagick: a still JPEG banner, an
# animated GIF banner (both 468x60, the classic full banner) and the
# application icon "main.ico". The results are checked in beside this script,
# so the build never needs ImageMagick; run it again after changing a colour.
#   apt-get install imagemagick fonts-dejavu-core
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
font=DejaVu-Sans-Bold
plain=DejaVu-Sans
ink='#2b2d42'     # charcoal
amber='#f0a202'
cream='#fdf6e3'

# Still banner: charcoal to amber, slogan on the left, address on the right.
convert -size 468x60 gradient:"$ink"-'#4a3b2a' -rotate 0 \
  \( -size 468x60 xc:none -fill "$amber" -draw 'rectangle 0,56 468,60' \) -composite \
  -font "$font" -pointsize 20 -fill "$amber" -annotate +14+28 'Lantern Feeds' \
  -font "$plain" -pointsize 12 -fill "$cream" -annotate +14+46 'Live news and eBay items on your own pages' \
  -font "$font" -pointsize 13 -fill "$cream" -annotate +330+36 'Try it free  >' \
  -strip -quality 85 -sampling-factor 4:2:0 "$here/lantern-banner.jpg"

# Animated banner: three captions, the lamp glowing brighter in each.
frames=()
captions=('News feeds in one click' 'eBay items with your campaign id' 'Your brand, your news server')
glows=('#a86f00' '#d18c00' "$amber")
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for i in 0 1 2; do
  convert -size 468x60 xc:"$cream" \
    -fill "$ink" -draw 'rectangle 0,0 60,60' \
    -fill "${glows[$i]}" -draw 'circle 30,30 30,12' \
    -fill "$ink" -draw 'rectangle 26,8 34,14' \
    -fill "$amber" -draw 'rectangle 60,56 468,60' \
    -font "$font" -pointsize 18 -fill "$ink" -annotate +76+27 'Lantern Feeds' \
    -font "$plain" -pointsize 14 -fill '#6b4e16' -annotate +76+47 "${captions[$i]}" \
    "$tmp/frame$i.gif"
  frames+=("$tmp/frame$i.gif")
done
convert -delay 120 -loop 0 "${frames[@]}" -layers Optimize "$here/lantern-banner.gif"

# Icon: the lamp on charcoal, in the sizes a desktop asks for.
convert -size 256x256 xc:none \
  -fill "$ink" -draw 'roundrectangle 8,8 248,248 40,40' \
  -fill "$amber" -draw 'circle 128,140 128,64' \
  -fill "$cream" -draw 'circle 128,140 128,104' \
  -fill "$amber" -draw 'rectangle 104,36 152,60' \
  -define icon:auto-resize=64,48,32,16 "$here/main.ico"
