#!/usr/bin/env bash
# GLUT is seen only where the window is (app/) and by what GLUT draws (render/): no file of the
# other rooms reaches a GLUT header through any chain of the project's own includes. And the
# run's and the scene's records are handed down: the one declaration of a way to them that
# needs no parameter is seen by the window's callbacks alone, at most four files.
#
# Usage: rooms_test.sh SOURCE_FOLDER
set -euo pipefail
cd "$1"
declare -A seen=()
# reaches PATTERN FILE: whether FILE, or any project header it includes, has a line matching
# PATTERN.
# Each file's answer is kept: the headers are shared by most files.
declare -A known=()
reaches() {
  local pattern=$1 file=$2 header answer=1
  [ -z "${known[$pattern|$file]:-}" ] || return "${known[$pattern|$file]}"
  [ -z "${seen[$file]:-}" ] || return 1
  seen[$file]=1
  if grep -Eq "$pattern" "$file"; then
    answer=0
  else
    for header in $(sed -n 's/^#include "\(.*\)"$/\1/p' "$file"); do
      if [ -f "$header" ] && reaches "$pattern" "$header"; then
        answer=0
        break
      fi
    done
  fi
  known[$pattern|$file]=$answer
  return $answer
}
glut='#include <(GL/(free)?glut|GLUT/glut)'
record='^extern (RunState|SceneState)\b'
reaches_glut() { reaches "$glut" "$1"; }
status=0
for file in run/* maps/* input/* scene/* texture/* files/* picture/* text/*; do
  seen=()
  if reaches_glut "$file"; then
    echo "FAIL: $file sees GLUT" >&2
    status=1
  fi
done
# The check itself: a file of the window's room does see it.
seen=()
reaches_glut app/run_loop.cpp || { echo "FAIL: the check finds no GLUT even in app/" >&2; status=1; }
# Outside the tests, the records' only declarations are the window's.
if grep -rlE "$record" --include='*.h' --include='*.cpp' . | grep -v '^./tests/' | grep -vx './app/window_records.h'; then
  echo "FAIL: a record declared outside the window's room" >&2
  status=1
fi
seeing=0
for file in $(ls app/*.cpp run/*.cpp maps/*.cpp render/*.cpp input/*.cpp scene/*.cpp texture/*.cpp files/*.cpp picture/*.cpp text/*.cpp 2>/dev/null); do
  seen=()
  if reaches "$record" "$file"; then
    seeing=$((seeing + 1))
  fi
done
if [ "$seeing" -gt 4 ] || [ "$seeing" -eq 0 ]; then
  echo "FAIL: $seeing product files see the records' declarations (at most 4, and the window's)" >&2
  status=1
fi
exit $status
