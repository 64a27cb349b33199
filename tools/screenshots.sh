#!/usr/bin/env bash
# Installs what is missing, builds, and regenerates the README's pictures in docs/ and the
# desktop icons in assets/icons/ (or both in the folder given), on a virtual display when there
# is none.
#
# Usage: tools/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
out=${1:-$VELKARIN_ROOT/docs}
icons=${1:+$1/icons}
capture=("$VELKARIN_ROOT/tools/capture_screenshots.sh" "$VELKARIN_BUILD" "$out"
  "${icons:-$VELKARIN_ROOT/assets/icons}")

source "$VELKARIN_ROOT/tools/virtual_display.sh"
velkarin_with_display bash "${capture[@]}"
