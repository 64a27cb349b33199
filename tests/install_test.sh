#!/usr/bin/env bash
# Installs into a fresh prefix and runs the installed viewer on the installed sample map from
# another folder, as the README tells a user to: it must load the map and keep running.
set -euo pipefail
build=${1:?usage: install_test.sh BUILD_FOLDER SCRATCH_FOLDER}
prefix="${2:?usage: install_test.sh BUILD_FOLDER SCRATCH_FOLDER}/a prefix with \$pace"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

binary="$prefix/bin/velkarin"
map="$prefix/share/velkarin/env.ppm"
[ -x "$binary" ] || { echo "no executable at $binary" >&2; exit 1; }
[ -f "$map" ] || { echo "no sample map at $map" >&2; exit 1; }

# Under a prefix the desktop does not search, its entry names the installed files themselves,
# quoted as a desktop file quotes a path (the prefix has a space and a $ in it); a
# desktop starts it in the sample map's folder, or on the files a file manager opens with it.
entry="$prefix/share/applications/velkarin.desktop"
desktop-file-validate "$entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$icon" ] || { echo "$entry: no icon at '$icon'" >&2; exit 1; }
# launched [FILE...]: the installed viewer started through the entry, as a desktop starts it;
# prints its process id once its window is up (titled "Velkarin - lighting - FIRST (1/N)" with
# N files).
launched() {
  local title="Velkarin - lighting" pid exe
  [ $# -lt 2 ] || title="$title - $(basename "$1") (1/$#)"
  gio launch "$entry" "$@" >/dev/null
  for _ in $(seq 300); do
    for pid in $(pgrep -x velkarin || true); do
      exe=$(readlink "/proc/$pid/exe" || true)
      if [ "$exe" = "$binary" ] && xwininfo -root -tree | grep -qF "\"$title\""; then
        echo "$pid"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "$entry: no window titled '$title' after gio launch $*" >&2
  return 1
}
viewer=$(launched)
folder=$(readlink "/proc/$viewer/cwd")
kill "$viewer"
[ "$folder" = "$(dirname "$map")" ] || { echo "$entry: started in $folder" >&2; exit 1; }
cp "$map" "$prefix/first map.ppm" && cp "$map" "$prefix/second.ppm"
viewer=$(launched "$prefix/first map.ppm" "$prefix/second.ppm")
kill "$viewer"
echo "the desktop entry starts the viewer beside its sample map, and on files opened with it"

bash "$(dirname "$0")/expect_viewer_runs.sh" "$binary" "$map" "installed viewer"
