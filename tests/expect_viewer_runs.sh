#!/usr/bin/env bash
# Runs an installed or packaged viewer on its sample map from an empty folder: it must print
# "tex = N" with N above 0 (waited for against a deadline) and still be running after it.
#
# Usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT   (needs an X display)
set -euo pipefail
binary=${1:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}
map=${2:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}
what=${3:?usage: expect_viewer_runs.sh VIEWER_BINARY SAMPLE_MAP WHAT}

cd "$(mktemp -d)"
"$binary" --env-map "$map" >out.txt &
viewer=$!
trap 'kill "$viewer" 2>/dev/null || true' EXIT
for _ in $(seq 600); do
  [ -s out.txt ] || ! kill -0 "$viewer" 2>/dev/null && break
  sleep 0.1
done
line=$(head -1 out.txt)
if ! kill -0 "$viewer" 2>/dev/null; then
  echo "$what: the viewer stopped by itself" >&2
  exit 1
fi
if ! [[ "$line" =~ ^tex\ =\ [1-9][0-9]*$ ]]; then
  echo "$what: unexpected start-up line '$line'" >&2
  exit 1
fi
echo "$what: the viewer prints '$line'"
