#!/usr/bin/env bash
# Browsing under ThreadSanitizer: maps read ahead on the worker while the GL thread shows,
# drops and reloads them. Any data race it reports fails the check.
#
# Usage: thread_check.sh TSAN_BUILD_FOLDER SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
usage="usage: thread_check.sh TSAN_BUILD_FOLDER SCRATCH_FOLDER"
build=$(realpath "${1:?$usage}")
scratch=${2:?$usage}
viewer=$build/velkarin
rm -rf "$scratch" && mkdir -p "$scratch/maps" && cd "$scratch"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# llvmpipe draws on the calling thread, so that only the viewer's own threads are watched.
export LP_NUM_THREADS=0 TSAN_OPTIONS="halt_on_error=1 exitcode=66"
"$build/velkarin_make_matcaps" maps
for n in $(seq 12); do cp "maps/$(ls maps | sed -n "$(( n % 4 + 1 ))p")" "maps/copy$n.png"; done
head -c 2000 maps/brass.png >maps/broken.png
# Forward and back, faster than the worker reads, past a broken map, round the folder.
keys="pfe$(printf '<pagedown>%.0s' $(seq 20))$(printf '<pageup>%.0s' $(seq 9))"
timeout -k 5 300 "$viewer" --env-map maps --keys "$keys" --frames 80 >/dev/null 2>errors.txt ||
  fail "browsing: status $?, $(cat errors.txt)"
grep -q ThreadSanitizer errors.txt && fail "browsing: $(cat errors.txt)"
# The shown map rewritten while it is watched, each time cut short, so that each reading on the
# worker ends in a word on standard error, which is waited for.
cp maps/jade.png shown.png
timeout -k 5 300 "$viewer" --env-map shown.png --keys pfe >out.txt 2>errors.txt &
viewer_pid=$!
for _ in $(seq 300); do
  grep -q '^tex = ' out.txt && break
  sleep 0.1
done
grep -q '^tex = [1-9]' out.txt || fail "watching: the map did not load: $(cat out.txt errors.txt)"
for n in $(seq 4); do
  head -c $((1000 * n)) maps/clay.png >shown.png
  for _ in $(seq 300); do
    [ "$(grep -c 'showing it as it was' errors.txt)" -ge "$n" ] && break
    sleep 0.1
  done
  [ "$(grep -c 'showing it as it was' errors.txt)" -ge "$n" ] ||
    fail "watching: change $n was not read: $(cat errors.txt)"
done
kill "$viewer_pid"
status=0
wait "$viewer_pid" || status=$?
[ "$status" = 143 ] || fail "watching: status $status, $(cat errors.txt)"
grep -q ThreadSanitizer errors.txt && fail "watching: $(cat errors.txt)"
echo "threads: browsing and watching raced nothing"
