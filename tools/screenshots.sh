#!/usr/bin/env bash
# Installs what is missing, builds, and regenerates the README's pictures in docs/ (or the
# folder given), on a virtual display when there is none.
#
# Usage: tools/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
out=${1:-$VELKARIN_ROOT/docs}
capture=("$VELKARIN_ROOT/tools/capture_screenshots.sh" "$VELKARIN_BUILD" "$out")

source "$VELKARIN_ROOT/tools/virtual_display.sh"
velkarin_with_display bash "${capture[@]}"
