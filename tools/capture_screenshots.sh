#!/usr/bin/env bash
# Photographs the running viewer for the README and checks every picture: the real viewer
# started beside the bundled map, real key presses, the window captured from outside. The
# pictures are written through libpng, the animation made from PNG frames by ImageMagick, and
# every file read back through a decoder to be checked.
#
# Usage: tools/capture_screenshots.sh BUILD_FOLDER OUTPUT_FOLDER   (needs an X display)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:?usage: capture_screenshots.sh BUILD_FOLDER OUTPUT_FOLDER}
out=${2:?usage: capture_screenshots.sh BUILD_FOLDER OUTPUT_FOLDER}
mkdir -p "$out"

report=$(mktemp)
failures=$(mktemp)
frames=$(mktemp -d)
trap 'rm -rf "$report" "$failures" "$frames"' EXIT

# shot NAME KEYS CAPTURE-STEP...: a fresh viewer, the keys, a moment to draw, the capture.
shot() {
  local name=$1 keys=$2
  shift 2
  (cd "$root/assets" && exec "$build/velkarin" >/dev/null) &
  local viewer=$!
  "$build/velkarin_capture" --keys "$keys" --wait 700 "$@" || echo "$name failed" >>"$failures"
  kill "$viewer"
  wait "$viewer" 2>/dev/null || true
}

shot startup "" --png "$out/startup.png"
shot filled-smooth "p f" --png "$out/filled-smooth.png"
shot gradient "p f o" --png "$out/gradient.png"
shot envmap-modulate "p f e" --png "$out/envmap-modulate.png"
shot envmap-decal "p f e E" --png "$out/envmap-decal.png"
shot wireframe-culled "c" --png "$out/wireframe-culled.png"
shot filled-unlit "p L" --png "$out/filled-unlit.png"
shot spin "p f Right*24 Up*10" --frames "$frames/spin" 40 100
convert -delay 10 -loop 0 +dither "$frames"/spin-*.png -layers Optimize "$out/spin.gif"
"$build/velkarin_png_stats" "$out"/*.png "$frames/spin-000.png" >"$report" ||
  echo "a picture cannot be read back" >>"$failures"

# Every picture is the whole window and shows something; the unlit one shows the torus colour;
# the animation holds all its frames at the window's size.
status=0
gif_frames=$(identify -format '%Wx%H\n' "$out/spin.gif" | sort | uniq -c | awk '{print $1 " " $2}')
if [ "$gif_frames" != "40 620x160" ]; then
  echo "screenshots: spin.gif: frames '$gif_frames', not 40 of 620x160" >&2
  status=1
fi
if [ -s "$failures" ]; then
  cat "$failures" >&2
  status=1
fi
while read -r path size lit torus; do
  lit=${lit#lit=}
  torus=${torus#torus=}
  problem=""
  [ "$size" = 620x160 ] || problem="size $size, not 620x160"
  [ "$lit" -gt 1000 ] || problem="nearly blank ($lit lit pixels)"
  case "$path" in
    *filled-unlit.png) [ "$torus" -gt 3000 ] || problem="torus colour missing ($torus pixels)" ;;
  esac
  if [ -n "$problem" ]; then
    echo "screenshots: $path: $problem" >&2
    status=1
  fi
done <"$report"
[ $status -eq 0 ] && echo "screenshots: $(wc -l <"$report") pictures checked in $out"
exit $status
