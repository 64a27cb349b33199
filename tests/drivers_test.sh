#!/usr/bin/env bash
# The scripted pictures of the screenshot check, made again on two more of Mesa's GL drivers and
# held against llvmpipe's: softpipe, Mesa's other software rasteriser, and zink, which runs GL
# on Vulkan as it does on many current GPUs, here on lavapipe. Each driver is selected through
# Mesa's documented environment variables and checked to be the one drawing (--info).
#
# Filled pictures: no pixel may differ by more than 6 % (none does; softpipe's texture filtering
# differs by less in about 1,300 pixels of the mapped torus). Wire-frames: lines are rasterised
# differently, a pixel to one side (softpipe moves about 1,500 pixels), so a pixel counts only
# when nothing within one pixel of it in the other picture has its colour within 6 %: at most
# 100 such pixels, either way. Measured here: at most 38 on softpipe, 7 on zink; a wrong state
# moves at least 790 (a light off) and up to 1,270 (the local viewer).
#
# With --samples 4, llvmpipe and zink blend the edges into at least three times the colours;
# softpipe, which cannot draw multisampled frames, says so and draws the same picture without.
#
# Usage: drivers_test.sh VIEWER_BINARY SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
viewer=$(realpath "${1:?usage: drivers_test.sh VIEWER_BINARY SCRATCH_FOLDER}")
scratch=$(mkdir -p "${2:?usage: drivers_test.sh VIEWER_BINARY SCRATCH_FOLDER}" && realpath "$2")
assets=$(cd "$(dirname "${BASH_SOURCE[0]}")/../assets" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
lavapipe=$(ls /usr/share/vulkan/icd.d/lvp_icd.*.json 2>/dev/null | head -1)
[ -n "$lavapipe" ] || fail "lavapipe's Vulkan driver is not installed (mesa-vulkan-drivers)"
# Vulkan's window system wants a runtime folder of its own.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

declare -A environment=(
  [llvmpipe]="GALLIUM_DRIVER=llvmpipe"
  [softpipe]="GALLIUM_DRIVER=softpipe"
  [zink]="LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=zink VK_ICD_FILENAMES=$lavapipe"
)
filled=(pf pfo pfe pfeE pL)
wire=(start c)

# draw DRIVER: its renderer checked, then its pictures, frame 250 of each key script.
draw() {
  local driver=$1 keys
  # shellcheck disable=SC2086
  renderer=$(cd "$assets" && env ${environment[$driver]} "$viewer" --info --frames 1 |
    sed -n 's/^GL_RENDERER = //p')
  [[ "$renderer" == *"$driver"* ]] || fail "$driver: the renderer is '$renderer'"
  for keys in "${filled[@]}" "${wire[@]}"; do
    local script=()
    [ "$keys" = start ] || script=(--keys "$keys")
    # shellcheck disable=SC2086
    (cd "$assets" && env ${environment[$driver]} "$viewer" "${script[@]}" --frames 250 \
      --screenshot "$scratch/$driver-$keys.png" >/dev/null) || fail "$driver: the $keys run failed"
  done
}

# beyond A B: the pixels of B that no pixel within one pixel of it in A matches within 6 %.
beyond() {
  convert "$2" \( "$1" -morphology Dilate Square:1 \) -compose Minus_Src -composite -separate \
    -evaluate-sequence Max -threshold 6% -format '%[fx:round(mean*w*h)]' info:
}

# smooth DRIVER: how many colours a flat-shaded, filled torus drawn with --samples 4 has more
# than one drawn without, as a whole factor; what the run said goes to $scratch/DRIVER-said.
smooth() {
  local driver=$1 samples colours=()
  for samples in 0 4; do
    local asked=()
    [ "$samples" = 0 ] || asked=(--samples "$samples")
    # shellcheck disable=SC2086
    (cd "$assets" && env ${environment[$driver]} "$viewer" -geometry 800x400 --keys p \
      --frames 40 "${asked[@]}" --screenshot "$scratch/$driver-samples-$samples.png" \
      >/dev/null 2>"$scratch/$driver-said") || fail "$driver: the --samples $samples run failed"
    colours+=("$(identify -format %k "$scratch/$driver-samples-$samples.png")")
  done
  echo $((colours[1] / colours[0]))
}

for driver in llvmpipe softpipe zink; do
  draw "$driver"
done
# Smooth edges where GL can draw multisampled frames; where it cannot (softpipe), a word and the
# picture drawn without.
for driver in llvmpipe zink; do
  factor=$(smooth "$driver")
  [ "$factor" -ge 3 ] || fail "$driver: --samples 4 gave $factor times the colours, not 3"
done
factor=$(smooth softpipe)
grep -q "drawing without smooth edges" "$scratch/softpipe-said" ||
  fail "softpipe: --samples 4 said '$(cat "$scratch/softpipe-said")'"
[ "$factor" = 1 ] || fail "softpipe: --samples 4 changed the picture by a factor of $factor"
for driver in softpipe zink; do
  for keys in "${filled[@]}"; do
    differing=$(compare -fuzz 6% -metric AE "$scratch/llvmpipe-$keys.png" \
      "$scratch/$driver-$keys.png" null: 2>&1 || true)
    [ "$differing" = 0 ] || fail "$driver, keys $keys: $differing pixels differ by more than 6 %"
  done
  for keys in "${wire[@]}"; do
    a="$scratch/llvmpipe-$keys.png"
    b="$scratch/$driver-$keys.png"
    moved=$(( $(beyond "$a" "$b") > $(beyond "$b" "$a") ? $(beyond "$a" "$b") : $(beyond "$b" "$a") ))
    [ "$moved" -le 100 ] || fail "$driver, wire-frame $keys: $moved pixels out of place"
  done
  echo "$driver: ${#filled[@]} filled pictures as llvmpipe's, ${#wire[@]} wire-frames within a pixel"
done
