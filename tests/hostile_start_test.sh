#!/usr/bin/env bash
# The viewer started as people start it outside the test display's comfort: with its standard
# streams closed or full, and under a real window manager (openbox, on an X server of its own),
# where an iconic window is never mapped and full screen is the manager's to grant.
#
# Usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
self=$(realpath "$0")
viewer=$(realpath "${1:?usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER}")
scratch=${2:?usage: hostile_start_test.sh VIEWER_BINARY SCRATCH_FOLDER}
mkdir -p "$scratch"
cd "$scratch"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# A run that hangs is the failure looked for; one that ends takes a second or two.
run() { timeout -k 5 60 "$viewer" "$@"; }

if [ "${3:-}" = --under-window-manager ]; then
  openbox >/dev/null 2>&1 &
  manager=$!
  trap 'kill "$manager" 2>/dev/null || true' EXIT
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

  # -iconic: the window manager shows it as an icon, and a scripted run still ends.
  "$viewer" -iconic >/dev/null &
  iconic=$!
  for _ in $(seq 300); do
    xprop -name "Velkarin - lighting" WM_STATE 2>/dev/null | grep -q 'state: Iconic' && break
    sleep 0.1
  done
  state=$(xprop -name "Velkarin - lighting" WM_STATE 2>&1 || true)
  kill "$iconic"
  grep -q 'state: Iconic' <<<"$state" || fail "-iconic: the window is not iconic: $state"
  run -iconic --keys pfL --frames 30 --screenshot iconic.png >/dev/null ||
    fail "-iconic under a window manager did not end its run"
  [ "$(identify -format %wx%h iconic.png)" = 620x160 ] || fail "-iconic: no 620x160 picture"
  run --fullscreen --keys L --frames 1 --screenshot full.png >/dev/null ||
    fail "--fullscreen under a window manager did not end its run"
  [ "$(identify -format %wx%h full.png)" = 1280x1024 ] || fail "--fullscreen: not the screen's size"
  echo "under openbox: -iconic and --fullscreen runs end with their pictures"
  exit 0
fi

# Closed streams: the X connection must not take their numbers, nor the run hang. Each run
# writes to standard error too (the keys its budget leaves unpressed), which would reach the
# X server as garbage if the connection had descriptor 2.
run --frames 2 >&- || fail "standard output closed: status $?"
run --keys xxxxxx --frames 2 2>&- || fail "standard error closed: status $?"
run --keys xxxxxx --frames 2 <&- >&- 2>&- || fail "all three streams closed: status $?"
# A full disk or a closed stream behind standard output is an error, as GNU programs make it.
for option in --help --version; do
  for into in /dev/full closed; do
    status=0
    if [ "$into" = closed ]; then
      run "$option" >&- 2>errors.txt || status=$?
    else
      run "$option" >"$into" 2>errors.txt || status=$?
    fi
    [ "$status" = 1 ] || fail "$option into $into: status $status"
    grep -Eq 'write error: (No space left on device|Bad file descriptor)' errors.txt ||
      fail "$option: $(cat errors.txt)"
  done
done
echo "closed and full standard streams: runs end, write errors are reported"

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$self" "$viewer" "$scratch" --under-window-manager
