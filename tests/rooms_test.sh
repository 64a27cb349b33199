#!/usr/bin/env bash
# GLUT is seen only where the window is (app/) and by what GLUT draws (render/): no file of the
# other rooms reaches a GLUT header through any chain of the project's own includes.
#
# Usage: rooms_test.sh SOURCE_FOLDER
set -euo pipefail
cd "$1"
declare -A seen=()
# reaches_glut FILE: whether FILE, or any project header it includes, includes GLUT.
reaches_glut() {
  local file=$1 header
  [ -z "${seen[$file]:-}" ] || return 1
  seen[$file]=1
  grep -Eq '#include <(GL/(free)?glut|GLUT/glut)' "$file" && return 0
  for header in $(sed -n 's/^#include "\(.*\)"$/\1/p' "$file"); do
    [ -f "$header" ] && reaches_glut "$header" && return 0
  done
  return 1
}
status=0
for file in run/* maps/* input/* scene/* texture/* files/* picture/*; do
  seen=()
  if reaches_glut "$file"; then
    echo "FAIL: $file sees GLUT" >&2
    status=1
  fi
done
# The check itself: a file of the window's room does see it.
seen=()
reaches_glut app/run_loop.cpp || { echo "FAIL: the check finds no GLUT even in app/" >&2; status=1; }
exit $status
