#!/usr/bin/env bash
# The Windows zip, unpacked on its own and run under Wine on the X display, in a Wine prefix of
# its own: --version answers; a start beside the zip's env.ppm prints tex = 1; the --screenshot
# of a keyed run with the readout and of a replayed session show what the Linux build's
# pictures of the same runs show; a session recorded under a name outside ASCII is whole and
# replays alike; Escape quits with status 1.
#
# Usage: tests/wine_test.sh ZIP LINUX_BUILD_FOLDER SCRATCH_FOLDER VERSION   (needs an X display)
set -euo pipefail
usage="usage: wine_test.sh ZIP LINUX_BUILD_FOLDER SCRATCH_FOLDER VERSION"
zip=$(realpath "${1:?$usage}")
linux=$(realpath "${2:?$usage}")
scratch=${3:?$usage}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
version=${4:?$usage}
fail() {
  echo "wine: $*" >&2
  exit 1
}

rm -rf "$scratch" && mkdir -p "$scratch/unpacked"
scratch=$(realpath "$scratch")
(cd "$scratch/unpacked" && cmake -E tar xf "$zip")
cd "$scratch"/unpacked/velkarin-*/
# Every picture the README links is in the zip beside it.
for picture in $(grep -o '](docs/[^)]*)' README.md | sed 's/^](//; s/)$//' | sort -u); do
  [ -f "$picture" ] || { echo "wine: the zip's README links $picture, which it lacks" >&2; exit 1; }
done
# No prompts to install Wine's .NET or HTML engines, and none of Wine's own chatter.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's server and desktop outlive the last program by a while; they end with the check.
trap 'wineserver --kill 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1
wineserver --wait

# Windows writes its lines with a carriage return.
run() { wine velkarin.exe "$@" | tr -d '\r'; }

[ "$(run --version)" = "velkarin $version" ] || fail "--version says '$(run --version)'"

# same NAME RUN...: the Windows build's --screenshot of a run against the Linux build's.
# Both rasterise on the same Mesa; only the C runtime's sines and cosines may differ, in their
# last bits, which can move a pixel lying exactly on an edge. So: at most 100 of the 99,200
# pixels may differ by more than 6 %. The map switched off moves about 7,400; the same keys one
# frame later, about 300.
same() {
  local name=$1
  shift
  run "$@" --screenshot "$scratch/$name-windows.png" >"$scratch/$name.out" ||
    fail "the $name run failed"
  "$linux/velkarin" "$@" --screenshot "$scratch/$name-linux.png" >/dev/null
  differing=$(compare -fuzz 6% -metric AE "$scratch/$name-windows.png" \
    "$scratch/$name-linux.png" null: 2>&1 || true)
  [[ "$differing" =~ ^[0-9]+$ ]] || fail "the $name pictures cannot be compared: $differing"
  [ "$differing" -le 100 ] || fail "$name: $differing pixels differ from the Linux build's picture"
}

same keyed --keys pfe --frames 40 --hud
[ "$(cat "$scratch/keyed.out")" = "tex = 1" ] ||
  fail "a start beside env.ppm printed '$(cat "$scratch/keyed.out")'"
keyed=$differing
# A kept session (keys, arrows, a left drag, a pause and steps) replays the same on both.
cp "$here/sessions/explored.txt" "$scratch/explored.txt"
same replayed --replay "$scratch/explored.txt"

# PNG and JPEG maps, through the libpng and libjpeg-turbo built into the zip.
convert env.ppm "$scratch/map.png"
convert env.ppm "$scratch/map.jpg"
for file in map.png map.jpg; do
  [ "$(run --env-map "$scratch/$file" --frames 2)" = "tex = 1" ] || fail "$file gave no texture"
done

# A session kept by the Windows build under names outside ASCII (Windows' narrow calls would
# lose them), whole, replayed by both builds alike.
kept="$scratch/séance-мир.txt"
run --record "$kept" --keys 'pf<right>es' --frames 30 --screenshot "$scratch/café.png" \
  >/dev/null || fail "the --record run failed"
[ "$(tail -n 1 "$kept")" = "end 30" ] || fail "the kept session ends '$(tail -n 1 "$kept")'"
[ -f "$scratch/café.png" ] || fail "no picture under its own name"
same recorded --replay "$kept"

status=0
run --keys 'p<esc>' --frames 40 >/dev/null || status=$?
[ $status -eq 1 ] || fail "Escape gave exit status $status"
echo "wine: velkarin.exe from $(basename "$zip"): version, texture, keyed, replayed and recorded" \
  "pictures ($keyed and $differing pixels differ), PNG and JPEG maps, names outside ASCII" \
  "and Escape checked"
