#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; without a display the suite
# runs on a virtual X server (Xvfb), so the GL and end-to-end tests always have a real window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

cd "$VELKARIN_BUILD"
if [ -n "${DISPLAY:-}" ]; then
  ctest --output-on-failure "$@"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@"
fi
