#!/usr/bin/env bash
# PNG and JPEG maps, and a folder of them stepped through with the page keys: what loads and
# shows what the PPM shows, what is refused and why, and that a replayed session shows the same
# map. The maps are the bundled one as ImageMagick converts it, and the project's matcaps.
#
# Usage: maps_test.sh BUILD_FOLDER SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
usage="usage: maps_test.sh BUILD_FOLDER SCRATCH_FOLDER"
build=$(realpath "${1:?$usage}")
scratch=${2:?$usage}
viewer=$build/velkarin
map=$(cd "$(dirname "${BASH_SOURCE[0]}")/../assets" && pwd)/env.ppm
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
run() { timeout -k 5 60 "$viewer" "$@"; }
# shot MAP PICTURE [KEYS]: the filled, mapped torus at frame 40.
shot() { run --env-map "$1" --keys "${3:-pfe}" --frames 40 --screenshot "$2" 2>>errors.txt; }

# A PPM's first row is the bottom of the map; a PNG's or a JPEG's is the top, as any image
# viewer shows it: each is the bundled map flipped, and must show what the PPM shows.
convert "$map" -flip -depth 8 png8.png
convert "$map" -flip -define png:bit-depth=16 png16.png
convert "$map" -flip -colorspace Gray grey.png
convert "$map" -flip -colors 64 -type Palette palette.png
convert "$map" -flip -alpha on -channel A -evaluate set 50% +channel rgba.png
convert "$map" -flip -type GrayscaleAlpha -define png:color-type=4 grey-alpha.png
convert "$map" -flip -quality 95 baseline.jpg
convert "$map" -flip -quality 95 -interlace Plane progressive.jpg
convert "$map" -flip -colorspace Gray grey.jpg
cp png8.png renamed.txt
for file in png8.png png16.png grey.png palette.png rgba.png grey-alpha.png baseline.jpg \
  progressive.jpg grey.jpg renamed.txt; do
  [ "$(shot "$file" "$file-shot.png")" = "tex = 1" ] || fail "$file: $(cat errors.txt)"
done
shot "$map" ppm-shot.png >/dev/null
cmp -s png8.png-shot.png ppm-shot.png || fail "the 8-bit PNG does not show what the PPM shows"
cmp -s png16.png-shot.png ppm-shot.png || fail "the 16-bit PNG does not show what the PPM shows"
# Alpha is dropped, never blended onto black: half-transparent maps show their colours whole.
cmp -s rgba.png-shot.png png8.png-shot.png || fail "the RGBA PNG does not show what the RGB one shows"
cmp -s grey-alpha.png-shot.png grey.png-shot.png ||
  fail "the grey PNG with alpha does not show what the grey one shows"
convert baseline.jpg -flip from-jpeg.ppm
shot from-jpeg.ppm from-jpeg-shot.png >/dev/null
differing=$(compare -fuzz 2% -metric AE baseline.jpg-shot.png from-jpeg-shot.png null: 2>&1 || true)
[ "$differing" = 0 ] || fail "the JPEG differs from its PPM by more than 2 % in $differing pixels"

# Refused with the reason, in the viewer's form, and no texture.
head -c 3000 png8.png >cut.png
head -c 3000 baseline.jpg >cut.jpg
convert "$map" -colorspace CMYK cmyk.jpg
# A PNG whose header claims 40000 × 40000: refused before its 4.8 GB of pixels are reserved.
python3 -c "
import struct, zlib
def chunk(kind, data): return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
ihdr = struct.pack('>IIBBBBB', 40000, 40000, 8, 2, 0, 0, 0)
open('huge.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(b'\0' * 64)) + chunk(b'IEND', b''))"
: >empty.png
echo "a text file, whatever its name says" >text.png
for case in "cut.png:read beyond end of data" "cut.jpg:Premature end of JPEG file" \
  "empty.png:an empty file" "text.png:not a PNG, JPEG or PPM" \
  "cmyk.jpg:a CMYK JPEG" "huge.png:larger than this GL accepts"; do
  file=${case%%:*}
  : >errors.txt
  # Peak memory (KiB) is time's last line on standard error.
  /usr/bin/time -f %M "$viewer" --env-map "$file" --frames 2 >out.txt 2>>errors.txt
  [ "$(cat out.txt)" = "tex = 0" ] && grep -q "^velkarin: $file: ${case#*:}" errors.txt ||
    fail "$file: $(cat out.txt) $(cat errors.txt)"
done
[ "$(tail -n 1 errors.txt | tr -dc 0-9)" -lt 1000000 ] || fail "huge.png: peak memory $(tail -n 1 errors.txt) KiB"

# A folder: its maps in name order, others skipped; Page Down the next, Page Up back, wrapping.
# Neither a file that only looks like a map by its name nor a map in a folder within is one of
# the five: five Page Downs come back to the first map, and none is reported.
mkdir -p folder/inner
"$build/velkarin_make_matcaps" folder
cp grey.jpg folder/zinc.jpg
echo "not a map" >folder/notes.txt
echo "not a map either" >folder/fake.png
cp png8.png folder/inner/
: >errors.txt
shot folder first.png >/dev/null
shot folder round.png 'pfe<pagedown><pagedown><pagedown><pagedown><pagedown>' >/dev/null
cmp -s first.png round.png || fail "five Page Downs in a folder of five maps do not come back"
shot folder second.png 'pfe<pagedown>' >/dev/null
shot folder back.png 'pfe<pagedown><pageup>' >/dev/null
shot folder wrapped.png 'pfe<pageup>' >/dev/null
shot folder/zinc.jpg zinc.png >/dev/null
[ -s errors.txt ] && fail "a folder of maps: $(cat errors.txt)"
cmp -s first.png back.png || fail "Page Up does not bring the first map back"
cmp -s first.png second.png && fail "Page Down does not show the second map"
cmp -s wrapped.png zinc.png || fail "Page Up from the first map does not wrap to the last"
# The matcap maker never replaces a file of a material's name unless asked: it says which it
# kept, with status 1; --force replaces it. --help and --version answer, and make no folder;
# an unknown option is refused with status 2.
mkdir -p own && echo "my own clay" >own/clay.png
status=0
"$build/velkarin_make_matcaps" own 2>errors.txt || status=$?
[ "$status" = 1 ] && [ "$(cat own/clay.png)" = "my own clay" ] && [ -s own/jade.png ] &&
  [ "$(cat errors.txt)" = "velkarin_make_matcaps: own/clay.png: kept, as a file of that name is there (--force replaces it)" ] ||
  fail "the matcap maker over an own clay.png: status $status, $(cat errors.txt)"
"$build/velkarin_make_matcaps" --force own && [ "$(head -c 4 own/clay.png | tail -c 3)" = PNG ] ||
  fail "--force did not replace clay.png"
"$build/velkarin_make_matcaps" --help | grep -q -- '--force' && [ ! -e ./--help ] ||
  fail "the matcap maker's --help"
"$build/velkarin_make_matcaps" --version | grep -q '^velkarin_make_matcaps [0-9]' ||
  fail "the matcap maker's --version"
status=0
"$build/velkarin_make_matcaps" --bogus own 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "the matcap maker took an unknown option: status $status"

# A map larger than every GL takes (1024 on a side), read ahead on the worker and reached by
# Page Down, shows as it does alone: the worker reads with the largest side GL gives.
convert "$map" -resize 2048x2048 -flip large.png
: >errors.txt
shot large.png large-alone.png >/dev/null
run --env-map png8.png --env-map large.png --keys 'pfe<pagedown>' --frames 40 \
  --screenshot large-paged.png >/dev/null 2>>errors.txt
[ -s errors.txt ] && fail "a 2048 × 2048 map by Page Down: $(cat errors.txt)"
cmp -s large-alone.png large-paged.png || fail "a 2048 × 2048 map by Page Down does not show"
# A map that cannot be read is skipped, never shown, and reported once however often it is
# passed: from a, Page Down shows c; three pass b twice.
mkdir broken
cp folder/brass.png broken/a.png
cp cut.png broken/b.png
cp folder/jade.png broken/c.png
shot broken/c.png c.png >/dev/null
shot broken skipped.png 'pfe<pagedown>' >/dev/null 2>&1
cmp -s skipped.png c.png || fail "Page Down onto a broken map does not skip it"
: >errors.txt
shot broken passed.png 'pfe<pagedown><pagedown><pagedown>' >/dev/null
cmp -s passed.png c.png || fail "three Page Downs past a broken map do not show c"
[ "$(grep -c 'b.png' errors.txt)" = 1 ] || fail "a broken map passed twice: $(cat errors.txt)"
# title_after KEYS TITLE: the window's title, as UTF-8 (_NET_WM_NAME), reaches TITLE once the
# viewer, browsing the folder "order", has pressed KEYS. The viewer is started as itself
# (timeout passes its signal on), not through a function whose shell a kill would end with the
# viewer left running, its window still up when the next run looks.
# titled TITLE: whether the viewer's window comes to be titled TITLE within 20 s; $title is
# the last title seen.
titled() {
  for _ in $(seq 200); do
    for window in $(xwininfo -root -tree | awk '/"Velkarin/ { print $1 }'); do
      title=$(LC_ALL=C.UTF-8 xprop -id "$window" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
      [ "$title" = "Velkarin - lighting - $1" ] && return 0
    done
    sleep 0.1
  done
  return 1
}
title_after() {
  timeout -k 5 60 "$viewer" --env-map "${3:-order}" --keys "$1" >/dev/null 2>>errors.txt &
  local viewer_pid=$! found=0
  titled "$2" || found=$?
  kill "$viewer_pid"
  wait "$viewer_pid" || true
  [ "$found" = 0 ] || fail "after $1 the title is '$title', not '$2'"
}
# A folder in the order a file manager shows it (Unicode's collation, digits as numbers, case a
# lesser difference than the letter), each map named with its place, in UTF-8 whatever it
# holds: in the C.UTF-8 locale of a minimal system, Unicode's root order; in Danish, Æ after Z.
mkdir order
cp folder/brass.png order/10.png
cp folder/chrome.png order/2.png
cp folder/clay.png order/brass.png
cp folder/jade.png order/Zinc.png
cp png8.png order/Ærø-ü.png
export LC_ALL=C.UTF-8
title_after '<pagedown>' '10.png (2/5)'
title_after '<pagedown><pagedown>' 'Ærø-ü.png (3/5)'
title_after '<pageup>' 'Zinc.png (5/5)'
LC_ALL=da_DK.UTF-8 title_after '<pageup>' 'Ærø-ü.png (5/5)'
# A name in Latin-1, whose bytes are no UTF-8: each odd byte shows as U+FFFD in the title.
mkdir latin1 && cp png8.png latin1/a.png && cp png8.png latin1/$'\xe9t\xe9.png'
title_after '<pagedown>' '�t�.png (2/2)' latin1
# A map saved into the shown folder takes its place in the order, and one removed leaves it; the
# shown one keeps its name and its place is told anew each time. Whether the system says at
# once or the viewer looks once a second, each change is seen within the wait.
mkdir grow && cp folder/brass.png grow/b.png && cp folder/jade.png grow/d.png
timeout -k 5 60 "$viewer" --env-map grow --keys '<pagedown>' >/dev/null 2>>errors.txt &
viewer_pid=$!
titled 'd.png (2/2)' || fail "a growing folder starts as '$title'"
cp folder/clay.png grow/c.png
titled 'd.png (3/3)' || fail "a map saved into the folder: '$title'"
# A run keeping a session, which names its maps, keeps the folder's maps as they were: once the
# run above has seen a map added and then one removed, the recording run still counts two.
timeout -k 5 60 "$viewer" --env-map grow --record grow.session --keys '<pagedown>' \
  >/dev/null 2>>errors.txt &
recording_pid=$!
titled 'c.png (2/3)' || fail "a recording run starts as '$title'"
rm grow/b.png
titled 'd.png (2/2)' || fail "a map removed from the folder: '$title'"
cp folder/brass.png grow/a.png
titled 'd.png (3/3)' || fail "a map saved again: '$title'"
rm grow/a.png
titled 'd.png (2/2)' || fail "a map removed again: '$title'"
for window in $(xwininfo -root -tree | awk '/"Velkarin/ { print $1 }'); do
  # timeout runs the viewer as its child: the window names the child.
  if xprop -id "$window" _NET_WM_PID | grep -q " $(pgrep -P "$recording_pid")\$"; then
    recorded=$(LC_ALL=C.UTF-8 xprop -id "$window" _NET_WM_NAME | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
  fi
done
[ "${recorded:-}" = "Velkarin - lighting - c.png (2/3)" ] ||
  fail "a recording run's folder changed: '${recorded:-no window}'"
kill "$viewer_pid" "$recording_pid"
wait "$viewer_pid" "$recording_pid" || true

# Maps named that are not there are each said before the first frame, wherever they stand.
status=0
run --frames 2 gone1.png png8.png gone2.png gone3.png >/dev/null 2>errors.txt || status=$?
[ "$status" = 0 ] && [ "$(grep -c ': No such file or directory$' errors.txt)" = 3 ] ||
  fail "missing maps: status $status, $(cat errors.txt)"

# A broken first map is skipped at start as Page Down skips one: the first that loads is shown.
: >errors.txt
[ "$(shot cut.png skipped-first.png pfe 2>/dev/null)" = "tex = 0" ] || fail "cut.png gave a texture"
out=$(run --env-map cut.png --env-map png8.png --keys pfe --frames 40 \
  --screenshot skipped-first.png 2>errors.txt)
[ "$out" != "tex = 0" ] && [ "$(grep -c 'cut.png' errors.txt)" = 1 ] &&
  cmp -s skipped-first.png png8.png-shot.png || fail "a broken first map: $out, $(cat errors.txt)"

# A kept session names its maps: replayed without them it shows the same; with others, it
# says so once and goes on with those.
run --env-map folder --keys 'pfe<pagedown>' --record paged.txt --frames 40 \
  --screenshot recorded.png >/dev/null
grep -q "^map $PWD/folder/brass.png$" paged.txt || fail "the session names no maps: $(cat paged.txt)"
run --replay paged.txt --screenshot replayed.png >/dev/null
cmp -s recorded.png replayed.png || fail "the replayed session shows another map"
run --env-map png8.png --replay paged.txt --screenshot other.png >/dev/null 2>errors.txt
[ "$(grep -c 'kept with other maps' errors.txt)" = 1 ] || fail "other maps: $(cat errors.txt)"

# Memory bounded by the texture budget (128 MB), not by the number of maps: browsing 300 maps
# of 512 × 512 (1 MB of texture each) raises the peak by less than the budget and the maps in
# flight over browsing 3. Peak memory (KiB) is time's last line on standard error.
convert -size 512x512 xc: +noise Random noise.png
mkdir many few
for n in $(seq 300); do cp noise.png "many/$n.png"; done
cp noise.png few/1.png && cp noise.png few/2.png && cp noise.png few/3.png
peak() {
  local folder=$1 pages=$2
  # Each Page Down draws a frame at once besides the next one.
  /usr/bin/time -f %M "$viewer" --env-map "$folder" --frames $((2 * pages + 5)) \
    --keys "pfe$(printf '<pagedown>%.0s' $(seq "$pages"))" 2>&1 >/dev/null | tail -n 1
}
few_peak=$(peak few 3)
many_peak=$(peak many 300)
[ $((many_peak - few_peak)) -lt $((160 * 1024)) ] ||
  fail "300 maps took the peak from $few_peak KiB to $many_peak KiB"
echo "maps: PNG and JPEG of every kind load, refusals say why, a folder steps and wraps"
