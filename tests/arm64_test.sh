#!/usr/bin/env bash
# The arm64 package, unpacked on its own, run under qemu's user-mode emulation on the X display
# with the arm64 Mesa (llvmpipe) and freeglut of the machine's multiarch libraries: it declares
# arm64 and its computed dependencies, and lintian finds no error in it; --version answers; a start on its packaged map prints
# tex = 1; a keyed run's --screenshot shows what the x86-64 build's picture of the same run
# shows.
#
# Usage: tests/arm64_test.sh DEB LINUX_BUILD_FOLDER SCRATCH_FOLDER VERSION   (needs an X display)
set -euo pipefail
usage="usage: arm64_test.sh DEB LINUX_BUILD_FOLDER SCRATCH_FOLDER VERSION"
deb=$(realpath "${1:?$usage}")
linux=$(realpath "${2:?$usage}")
scratch=${3:?$usage}
version=${4:?$usage}
fail() {
  echo "arm64: $*" >&2
  exit 1
}

rm -rf "$scratch" && mkdir -p "$scratch"
scratch=$(realpath "$scratch")
info=$(dpkg-deb -I "$deb")
grep -qx ' Architecture: arm64' <<<"$info" || fail "the package is not for arm64"
grep -q '^ Depends: .*libglut' <<<"$info" || fail "the package declares no computed dependencies"
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
! grep -q '^E:' "$scratch/lintian.log" || fail "lintian reports errors: $(grep '^E:' "$scratch/lintian.log")"
dpkg-deb -x "$deb" "$scratch/root"
# The arm64 loader and libraries sit where multiarch puts them, under /.
run() { qemu-aarch64 -L / "$scratch/root/usr/bin/velkarin" "$@"; }
map=$scratch/root/usr/share/velkarin/env.ppm

[ "$(run --version)" = "velkarin $version" ] || fail "--version says '$(run --version)'"
keys=(--env-map "$map" --keys pfe --frames 40)
cd "$scratch"
start=$(run "${keys[@]}" --screenshot arm64.png) || fail "the keyed run failed"
[ "$start" = "tex = 1" ] || fail "a start on the packaged map printed '$start'"
"$linux/velkarin" "${keys[@]}" --screenshot x86-64.png >/dev/null
# PNG and JPEG maps, through the arm64 libpng and libjpeg-turbo.
convert "$map" map.png
convert "$map" map.jpg
for file in map.png map.jpg; do
  [ "$(run --env-map "$file" --frames 2)" = "tex = 1" ] || fail "$file gave no texture"
done

# Both rasterise with llvmpipe, one JIT-compiled for each processor, on another build of the
# maths library: some 3,700 pixels differ slightly, none by more than 6 % here. A wrong state
# moves thousands by more (the map switched off, some 7,400), so: at most 100 of the 99,200.
differing=$(compare -fuzz 6% -metric AE arm64.png x86-64.png null: 2>&1 || true)
[[ "$differing" =~ ^[0-9]+$ ]] || fail "the pictures cannot be compared: $differing"
[ "$differing" -le 100 ] || fail "$differing pixels differ from the x86-64 build's picture"
echo "arm64: $(basename "$deb") declares arm64 and its dependencies; under qemu, version," \
  "texture, PNG and JPEG maps and picture ($differing pixels differ by more than 6 %) checked"
