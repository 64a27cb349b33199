#!/usr/bin/env bash
# Builds the fuzzers of the map reader and of the session reader with clang and runs each, side
# by side, for a fixed number of inputs (default 1,000,000) from its seed corpus, after
# replaying every saved input. Any crash fails the run; its input is left in the work folder, to
# be added to the fuzzer's regressions.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=${1:?usage: run_fuzz.sh WORK_FOLDER [RUNS]}
runs=${2:-1000000}

cmake -S "$here" -B "$work/build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/build" >/dev/null

# fuzz NAME SEEDS SAVED: the fuzzer NAME from the seed folder, after the saved inputs.
fuzz() {
  local fuzzer="$work/build/$1" seeds=$2 saved=$3 corpus="$work/$1-corpus"
  rm -rf "$corpus" && mkdir -p "$corpus"
  cp "$seeds"/* "$corpus/"
  cd "$work"
  if ! "$fuzzer" -runs=0 "$saved" "$seeds" >"$work/$1-replay.log" 2>&1; then
    cat "$work/$1-replay.log"
    return 1
  fi
  echo "$1: replayed $(find "$saved" "$seeds" -type f | wc -l) saved inputs"
  "$fuzzer" -runs="$runs" -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 |
    tee "$work/$1.log" | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY)' || true
  return "${PIPESTATUS[0]}"
}

fuzz ppm_reader_fuzz "$here/corpus" "$here/regressions" >"$work/ppm_reader_fuzz.summary" &
maps=$!
fuzz session_fuzz "$here/session_corpus" "$here/session_regressions" >"$work/session_fuzz.summary" &
sessions=$!
status=0
wait $maps || status=1
wait $sessions || status=1
cat "$work/ppm_reader_fuzz.summary" "$work/session_fuzz.summary"
exit $status
