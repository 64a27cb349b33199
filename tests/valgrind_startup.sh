#!/usr/bin/env bash
# Starts the real viewer under valgrind memcheck beside each malformed env.ppm of the loader
# tests, for two frames. Each start must print "tex = 0" and end with status 0, and no invalid
# read or write, use of uninitialised memory or bad free may pass through the project's own code.
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

# check_case FILE: one start beside FILE; prints a verdict line, returns non-zero on failure.
check_case() {
  local name run status=0 own_errors line
  name=$(basename "$1")
  run="$work/$name.run"
  mkdir -p "$run"
  cp "$1" "$run/env.ppm"
  # Two frames, then the viewer ends by itself: valgrind's report is whole.
  (cd "$run" && exec valgrind --log-file="$run/valgrind.log" "$viewer" --frames 2 \
    >"$run/out.txt") || status=$?

  # valgrind's reports are blocks of lines that end with a bare "==PID==" line.
  own_errors=$(awk -v own="$own_code" '
    /^==[0-9]+== *$/ { if (block ~ /(Invalid|uninitialised|Mismatched|free\(\))/ && block ~ own) n++; block=""; next }
    { block = block "\n" $0 }
    END { print n + 0 }' "$run/valgrind.log")
  line=$(cat "$run/out.txt")
  if [ "$line" != "tex = 0" ] || [ "$own_errors" -ne 0 ] || [ $status -ne 0 ]; then
    echo "$name: start-up line '$line', exit status $status, $own_errors report(s) in project" \
      "code (see $run/valgrind.log)"
    return 1
  fi
  echo "$name: tex = 0, $(grep -o 'ERROR SUMMARY: [0-9]* errors' "$run/valgrind.log" | head -1)"
}

mkdir -p "$work/cases"
write_cases "$work/cases"
# Two starts at a time: valgrind spends most of a start loading the GL driver on one core.
failed=0
running=0
for case_file in "$work"/cases/*; do
  check_case "$case_file" &
  running=$((running + 1))
  if [ $running -ge 2 ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
