#!/usr/bin/env bash
# Runs a command on the display there is, or on a virtual X server (Xvfb) when there is none.
# Source it, then: velkarin_with_display COMMAND [ARGUMENT...]
#
# -noreset: Xvfb otherwise resets whenever its last client disconnects, and refuses whoever
# connects during the reset, so a viewer started just after another one closed could fail to
# open the display.
velkarin_with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
  fi
}

# Run as itself, it runs its arguments: tools/virtual_display.sh COMMAND [ARGUMENT...]
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  velkarin_with_display "$@"
fi
