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

for driver in llvmpipe softpipe zink; do
  draw "$driver"
done
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
