#!/usr/bin/env bash
# Runs a command on the display there is, or on a virtual X server (Xvfb) when there is none.
# Source it, then: velkarin_with_display COMMAND [ARGUMENT...]
# or, for a command that must have a server of its own (a test that runs beside others):
# velkarin_with_own_display COMMAND [ARGUMENT...]
#
# -noreset: Xvfb otherwise resets whenever its last client disconnects, and refuses whoever
# connects during the reset, so a viewer started just after another one closed could fail to
# open the display.
velkarin_xvfb_options=(-noreset -nolisten tcp -screen 0 1280x1024x24)

velkarin_with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    velkarin_with_own_display "$@"
  fi
}

# The server picks a free display number itself (-displayfd) and writes it once it takes
# connections, so servers started side by side never race for one number.
velkarin_with_own_display() {
  local numbers server status=0 deadline=$((SECONDS + 60))
  numbers=$(mktemp)
  Xvfb -displayfd 3 "${velkarin_xvfb_options[@]}" 3>"$numbers" >/dev/null 2>&1 &
  server=$!
  while [ ! -s "$numbers" ] && [ $SECONDS -lt $deadline ] && kill -0 "$server" 2>/dev/null; do
    sleep 0.05
  done
  if [ ! -s "$numbers" ]; then
    echo "velkarin: the virtual X server (Xvfb) did not start" >&2
    kill "$server" 2>/dev/null || true
    rm -f "$numbers"
    return 1
  fi
  DISPLAY=:$(head -n 1 "$numbers") "$@" || status=$?
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$numbers"
  return $status
}

# Run as itself, it runs its arguments: tools/virtual_display.sh [--own] COMMAND [ARGUMENT...]
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  if [ "${1:-}" = --own ]; then
    shift
    velkarin_with_own_display "$@"
  else
    velkarin_with_display "$@"
  fi
fi
