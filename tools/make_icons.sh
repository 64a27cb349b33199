#!/usr/bin/env bash
# Makes the desktop icons from a real picture of the viewer: the filled, smooth-shaded torus
# (docs/filled-smooth.png, made by tools/screenshots.sh), cut to a square around the torus,
# its black background made transparent, scaled to the hicolor sizes with ImageMagick.
#
# Usage: tools/make_icons.sh [PICTURE [ICON_FOLDER]]
#   writes ICON_FOLDER/hicolor/SIZExSIZE/apps/velkarin.png; ICON_FOLDER is assets/icons if not given
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
picture=${1:-$root/docs/filled-smooth.png}
icons=${2:-$root/assets/icons}
# The torus sits around (310, 90) of the 620 × 160 window.
square=140x140+240+20

for size in 16 24 32 48 64 128; do
  folder="$icons/hicolor/${size}x${size}/apps"
  mkdir -p "$folder"
  convert "$picture" -crop "$square" +repage -fuzz 3% -transparent black \
    -resize "${size}x${size}" -strip "PNG32:$folder/velkarin.png"
  echo "$folder/velkarin.png"
done
