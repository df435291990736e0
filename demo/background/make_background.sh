#!/bin/sh
# Draws the closing screen's background, 720 x 540: a dark evening gradient with soft glowing
# shapes on the left, and a calm light panel on the right where the shell draws its black text
# and white buttons (x = 450 to 710).
# Usage: make_background.sh OUTPUT.jpg
set -eu
[ $# -eq 1 ] || { echo "usage: $0 OUTPUT.jpg" >&2; exit 2; }

# /usr/local/bin/convert may be a stand-in; Debian's own ImageMagick 6 binary comes first.
if command -v convert-im6.q16 >/dev/null 2>&1; then
  convert=convert-im6.q16
elif command -v convert >/dev/null 2>&1; then
  convert=convert
else
  echo "$0: ImageMagick's convert is missing (Debian package imagemagick)" >&2
  exit 1
fi

# 96 pixels per inch: 720 x 540 pixels are then 19050 x 14288 HIMETRIC for a loader that
# honours the density, the same as at a 96-dpi screen for one that does not.
"$convert" -size 720x540 xc:'#e9e4da' \
  \( -size 440x540 gradient:'#121831-#2c1b46' \) -geometry +0+0 -composite \
  \( -size 440x540 xc:none \
     -fill 'rgba(47,143,157,0.65)' -draw 'circle 110,170 110,280' \
     -fill 'rgba(217,96,126,0.60)' -draw 'circle 320,260 320,350' \
     -fill 'rgba(240,168,90,0.55)' -draw 'circle 170,430 170,500' \
     -fill 'rgba(125,140,255,0.50)' -draw 'circle 350,80 350,130' \
     -fill 'rgba(255,255,255,0.18)' -draw 'circle 240,340 240,370' \
     -channel RGBA -blur 0x26 +channel \) -geometry +0+0 -composite \
  \( -size 280x540 gradient:'#f6f2ea-#e2dbcf' \) -geometry +440+0 -composite \
  \( -size 540x26 gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.45)' -rotate -90 \) -geometry +414+0 -composite \
  \( -size 3x540 xc:'#d9a25e' \) -geometry +440+0 -composite \
  -strip -units PixelsPerInch -density 96 -quality 92 \
  "$1"
