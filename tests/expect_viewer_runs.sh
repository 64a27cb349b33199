#!/usr/bin/env bash
# Runs an installed or packaged viewer on its sample map from an empty folder for three
# seconds: it must print "tex = N" with N above 0 and still be running when stopped.
#
# Usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT   (needs an X display)
set -euo pipefail
binary=${1:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}
map=${2:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}
what=${3:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}

cd "$(mktemp -d)"
status=0
line=$(timeout 3 "$binary" --env-map "$map") || status=$?
if [ "$status" -ne 124 ]; then
  echo "$what: the viewer stopped by itself (status $status)" >&2
  exit 1
fi
if ! [[ "$line" =~ ^tex\ =\ [1-9][0-9]*$ ]]; then
  echo "$what: unexpected start-up line '$line'" >&2
  exit 1
fi
echo "$what: the viewer prints '$line'"
