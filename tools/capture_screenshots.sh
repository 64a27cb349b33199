#!/usr/bin/env bash
# Makes the README's pictures, the frames of its animation and the desktop icons with the
# viewer's own scripted runs (--keys, --frames, --screenshot) beside the bundled map, and
# checks every picture. Every speed is per frame, so frame N of a given key script is the same
# picture on every run. The animation is made from the frames by ImageMagick, and every file is
# read back through a decoder to be checked.
#
# Usage: tools/capture_screenshots.sh BUILD_FOLDER OUTPUT_FOLDER ICON_FOLDER   (needs an X display)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
usage="usage: capture_screenshots.sh BUILD_FOLDER OUTPUT_FOLDER ICON_FOLDER"
# The runs start in assets/, so every folder is made absolute first.
build=$(cd "${1:?$usage}" && pwd)
mkdir -p "${2:?$usage}" "${3:?$usage}"
out=$(cd "$2" && pwd)
icons=$(cd "$3" && pwd)

report=$(mktemp)
failures=$(mktemp)
frames=$(mktemp -d)
trap 'rm -rf "$report" "$failures" "$frames"' EXIT

# shot PATH FRAMES [KEYS [OPTION...]]: the picture of frame FRAMES of a run that presses KEYS,
# with the viewer's further options.
shot() {
  local path=$1 count=$2 keys=()
  if [ $# -gt 2 ]; then
    keys=(--keys "$3")
  fi
  (cd "$root/assets" && exec "$build/velkarin" "${keys[@]}" "${@:4}" --frames "$count" \
    --screenshot "$path" >/dev/null) || echo "$path: the run failed" >>"$failures"
}
repeat() { printf "%$2s" "" | tr ' ' "$1"; }

# By frame 250 two of the orbiting lights are in view.
at=250
# The front page: the filled, mapped torus large and with smooth edges; the strip itself,
# five turns of 24 steps each under the gradient, tilted to show it winding; the readout.
shot "$out/front.png" $at pfe -geometry 1200x600 --samples 4
shot "$out/strip-close-up.png" $at "awwwwwo$(repeat N 16)$(repeat x 30)" -geometry 800x450 \
  --samples 4
# The same two without --samples, to hold their smooth edges against.
shot "$frames/front-jagged.png" $at pfe -geometry 1200x600
shot "$frames/strip-close-up-jagged.png" $at "awwwwwo$(repeat N 16)$(repeat x 30)" \
  -geometry 800x450
shot "$out/readout.png" $at pfe --hud
# Four materials of the project's own on the torus, side by side: one folder, stepped through.
mkdir -p "$frames/matcaps"
"$build/velkarin_make_matcaps" "$frames/matcaps"
for k in 0 1 2 3; do
  shot "$frames/material-$k.png" $at "pfeE$(repeat '>' "$k" | sed 's/>/<pagedown>/g')" \
    -geometry 300x200 --samples 4 --env-map "$frames/matcaps"
done
convert "$frames"/material-[0-3].png +append "$out/materials.png"
shot "$out/startup.png" $at
shot "$out/filled-smooth.png" $at pf
shot "$out/gradient.png" $at pfo
shot "$out/envmap-modulate.png" $at pfe
shot "$out/envmap-decal.png" $at pfeE
shot "$out/wireframe-culled.png" $at c
shot "$out/filled-unlit.png" $at pL
# Filled and smooth, spinning about both axes: 20 units a frame is one whole turn in 360
# frames, and in 360 frames every light comes back too, so the animation's last frame is its
# first and it loops without a jump. Every sixth frame.
spin="pf$(for _ in $(seq 20); do printf '<right><up>'; done)"
for k in $(seq 0 60); do
  shot "$(printf '%s/spin-%03d.png' "$frames" "$k")" $((at + 6 * k)) "$spin"
done
convert -delay 10 -loop 0 +dither "$frames"/spin-*.png -layers Optimize "$out/spin.gif"
bash "$root/tools/make_icons.sh" "$out/filled-smooth.png" "$icons" >/dev/null
"$build/velkarin_png_stats" "$out"/*.png "$frames/spin-000.png" >"$report" ||
  echo "a picture cannot be read back" >>"$failures"

# Every picture is the whole window and shows something; the unlit one shows the torus colour;
# the animation holds all its frames at the window's size; each icon has its size.
status=0
gif_frames=$(identify -format '%Wx%H\n' "$out/spin.gif" | sort | uniq -c | awk '{print $1 " " $2}')
if [ "$gif_frames" != "61 620x160" ]; then
  echo "screenshots: spin.gif: frames '$gif_frames', not 61 of 620x160" >&2
  status=1
fi
if ! cmp -s "$frames/spin-000.png" "$frames/spin-060.png"; then
  echo "screenshots: spin.gif: its last frame is not its first: it jumps where it loops" >&2
  status=1
fi
for size in 16 24 32 48 64 128; do
  icon="$icons/hicolor/${size}x${size}/apps/velkarin.png"
  if [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" != "${size}x${size}" ]; then
    echo "screenshots: $icon: missing or not ${size}x${size}" >&2
    status=1
  fi
done
if [ -s "$failures" ]; then
  cat "$failures" >&2
  status=1
fi
while read -r path size lit torus; do
  lit=${lit#lit=}
  torus=${torus#torus=}
  problem=""
  case "$path" in
    */front.png) wanted=1200x600 ;;
    */strip-close-up.png) wanted=800x450 ;;
    */materials.png) wanted=1200x200 ;;
    *) wanted=620x160 ;;
  esac
  [ "$size" = "$wanted" ] || problem="size $size, not $wanted"
  [ "$lit" -gt 1000 ] || problem="nearly blank ($lit lit pixels)"
  case "$path" in
    *filled-unlit.png) [ "$torus" -gt 3000 ] || problem="torus colour missing ($torus pixels)" ;;
    # Said to have smooth edges: of the edge pixels of the same picture drawn without, at
    # least one in ten is a blend of the colours on either side. The map's own edges stay
    # sharp, and a picture that merely differs (the next frame) blends about one in a hundred.
    */front.png | */strip-close-up.png)
      read -r edges blended < <("$build/velkarin_png_stats" --edges "$path" \
        "$frames/$(basename "$path" .png)-jagged.png" | tr -c '0-9\n' ' ')
      [ $((10 * blended)) -ge "$edges" ] ||
        problem="edges not smooth: $blended of $edges edge pixels blended"
      ;;
  esac
  if [ -n "$problem" ]; then
    echo "screenshots: $path: $problem" >&2
    status=1
  fi
done <"$report"
[ $status -eq 0 ] && echo "screenshots: $(wc -l <"$report") pictures and 6 icons checked in $out"
exit $status
