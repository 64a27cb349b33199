#!/usr/bin/env bash
# Every command the README shows, run as written after its Quick start, in one shell as in a
# person's terminal: each ```sh block from the top of a copy of the clone whose build-viewer/ is
# the build folder, with a home folder of its own. A viewer run without an end of its own (no --frames or
# --replay) must still be running when it is stopped; every other command must succeed.
# The commands that install, build or package, and the suite itself, are not run here: the
# Quick start runs them, and the package, install and Windows checks try what they make.
#
# Usage: readme_commands_test.sh BUILD_FOLDER SCRATCH_FOLDER   (needs an X display)
set -euo pipefail
usage="usage: readme_commands_test.sh BUILD_FOLDER SCRATCH_FOLDER"
build=$(realpath "${1:?$usage}")
scratch=${2:?$usage}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rm -rf "$scratch" && mkdir -p "$scratch/clone" "$scratch/home"
cp -r "$root/assets" "$scratch/clone/"
ln -s "$build" "$scratch/clone/build-viewer"
not_run='^(tools/(run|test)\.sh|cmake |\(cd build-viewer && cpack|sudo |pacman |cd build && )'

# The README's sh blocks, one line a command (a line ending in \ joined to the next), each
# block ended by a line "#end".
commands=$(awk '/^```sh/ { inside = 1; next } /^```/ { if (inside) print "#end"; inside = 0; next }
  inside { if (sub(/\\$/, "")) { held = held $0; next } print held $0; held = "" }' "$root/README.md")

# run_block: the commands on standard input, in one shell, each checked as it ends.
run_block() {
  local line status limit
  cd "$scratch/clone"
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    if grep -Eq "$not_run" <<<"$line"; then
      echo "not run here: $line"
      continue
    fi
    status=0
    # The viewer found on the PATH, stopped after a while: one that never ends by itself runs
    # on until then.
    limit=60
    grep -Eq -- '--frames|--replay|--help|--version' <<<"$line" || limit=3
    velkarin() { timeout -k 5 "$limit" "$(type -P velkarin)" "$@"; }
    eval "$line" </dev/null >"$scratch/out.txt" 2>&1 || status=$?
    if [ $status = 124 ] && ! grep -Eq -- '--frames|--replay' <<<"$line"; then
      echo "ran until stopped: $line"
    elif [ $status = 0 ]; then
      echo "ran: $line"
    else
      echo "FAIL: status $status: $line" >&2
      cat "$scratch/out.txt" >&2
      return 1
    fi
  done
}

# One shell for all, as a person's terminal is, back at the top of the clone for each block.
export HOME=$scratch/home
block=""
while IFS= read -r line; do
  if [ "$line" = "#end" ]; then
    run_block <<<"$block"
    block=""
  else
    block+="$line"$'\n'
  fi
done <<<"$commands"
