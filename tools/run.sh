#!/usr/bin/env bash
# Installs what the viewer needs, builds the viewer alone, and starts it beside the bundled
# env.ppm.
set -euo pipefail

# Said before anything is installed or built: without a display there is nothing to start.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
velkarin: there is no display to open a window on (DISPLAY is not set).
Run it from a desktop session, with X forwarding (ssh -X), or on a virtual display:
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" tools/run.sh
MSG
  exit 1
fi

VELKARIN_VIEWER_ONLY=1
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# The viewer reads env.ppm from its working folder.
cd "$VELKARIN_ROOT/assets"
exec "$VELKARIN_BUILD/velkarin" "$@"
