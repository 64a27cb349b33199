#!/usr/bin/env bash
# Starts the real viewer under valgrind memcheck over every malformed map of the loader tests
# and the fuzzer's finds, for two frames: beside one as ./env.ppm, and given all of them as
# maps to step through. Each start must print "tex = 0", say why for every named map, and end
# with status 0, and no invalid read or write, use of uninitialised memory or bad free may pass
# through the project's own code.
#
# Usage: valgrind_startup.sh VIEWER_BINARY WORK_FOLDER   (needs an X display)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
viewer=$(realpath "${1:?usage: valgrind_startup.sh VIEWER_BINARY WORK_FOLDER}")
work=${2:?usage: valgrind_startup.sh VIEWER_BINARY WORK_FOLDER}
rm -rf "$work" && mkdir -p "$work"

# Frames of the project's own code in valgrind's reports name these files: every room's.
rooms="app run input render texture picture files scene"
sources=$(cd "$root" && for room in $rooms; do ls "$room"/*.cpp "$room"/*.h; done | xargs -n1 basename)
own_code="\\(($(echo $sources | sed 's/ /|/g' | sed 's/\./\\./g')):[0-9]+\\)"

# The malformed maps of the reader's tests, one folder per refusal, and the fuzzer's finds.
write_cases() {
  local d=$1 file
  for file in "$root"/tests/malformed/*/*; do
    cp "$file" "$d/$(basename "$(dirname "$file")")-$(basename "$file")"
  done
  cp "$root"/tests/fuzz/regressions/* "$d/"
}

# valgrind_run NAME ARGUMENT...: the viewer under valgrind in its own folder, for two frames;
# leaves its status in $NAME/status and its output beside it. Two frames, then the viewer ends
# by itself: valgrind's report is whole.
valgrind_run() {
  local run="$work/$1"
  shift
  (cd "$run" && exec valgrind --log-file="$run/valgrind.log" "$viewer" "$@" --frames 2 \
    >"$run/out.txt" 2>"$run/errors.txt") && echo 0 >"$run/status" || echo $? >"$run/status"
}

# check_run NAME MAPS: prints a verdict line; returns non-zero unless the run printed
# "tex = 0", said why for each of its MAPS malformed maps, ended with status 0 and had no
# report through the project's own code.
check_run() {
  local run="$work/$1" own_errors line said
  # valgrind's reports are blocks of lines that end with a bare "==PID==" line.
  own_errors=$(awk -v own="$own_code" '
    /^==[0-9]+== *$/ { if (block ~ /(Invalid|uninitialised|Mismatched|free\(\))/ && block ~ own) n++; block=""; next }
    { block = block "\n" $0 }
    END { print n + 0 }' "$run/valgrind.log")
  line=$(cat "$run/out.txt")
  said=$(grep -c '^velkarin: ' "$run/errors.txt" || true)
  if [ "$line" != "tex = 0" ] || [ "$own_errors" -ne 0 ] || [ "$(cat "$run/status")" != 0 ] ||
    [ "$said" != "$2" ]; then
    echo "$1: start-up line '$line', exit status $(cat "$run/status"), $said of $2 maps" \
      "refused, $own_errors report(s) in project code (see $run)"
    return 1
  fi
  echo "$1: tex = 0, $2 maps refused, $(grep -o 'ERROR SUMMARY: [0-9]* errors' "$run/valgrind.log" | head -1)"
}

# Two runs side by side, each on a core: one beside a malformed ./env.ppm, read into the
# scene's own image buffer; one given every case as a map, the first shown at start and one
# Page Down trying all the others in turn, since none of them loads. One process for all the
# cases: valgrind spends most of a start loading the GL driver.
mkdir -p "$work/cases" "$work/beside" "$work/named"
write_cases "$work/cases"
cases=("$work"/cases/*)
cp "${cases[0]}" "$work/beside/env.ppm"
named=()
for case_file in "${cases[@]}"; do
  named+=(--env-map "$case_file")
done
valgrind_run beside &
valgrind_run named "${named[@]}" --keys '<pagedown>' &
wait
failed=0
check_run beside 1 || failed=1
check_run named "${#cases[@]}" || failed=1
exit $failed
