#!/usr/bin/env bash
# Installs into a fresh prefix and runs the installed viewer on the installed sample map from
# another folder, as the README tells a user to: it must load the map and keep running.
set -euo pipefail
build=${1:?usage: install_test.sh BUILD_FOLDER PREFIX}
prefix=${2:?usage: install_test.sh BUILD_FOLDER PREFIX}
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

binary="$prefix/bin/velkarin"
map="$prefix/share/velkarin/env.ppm"
[ -x "$binary" ] || { echo "no executable at $binary" >&2; exit 1; }
[ -f "$map" ] || { echo "no sample map at $map" >&2; exit 1; }

# Under a prefix the desktop does not search, its entry names the installed files themselves.
entry="$prefix/share/applications/velkarin.desktop"
desktop-file-validate "$entry"
grep -qx "Exec=$binary --env-map $map" "$entry" || { echo "$entry: $(grep Exec "$entry")" >&2; exit 1; }
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$icon" ] || { echo "$entry: no icon at '$icon'" >&2; exit 1; }

bash "$(dirname "$0")/expect_viewer_runs.sh" "$binary" "$map" "installed viewer"
