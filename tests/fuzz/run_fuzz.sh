#!/usr/bin/env bash
# Builds the PPM reader fuzzer with clang and runs it for a bounded time (default 60 s) from the
# seed corpus, after replaying every regression input. Any crash fails the run; its input is
# left in the work folder, to be added to tests/fuzz/regressions/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=${1:?usage: run_fuzz.sh WORK_FOLDER [SECONDS]}
seconds=${2:-60}

cmake -S "$here" -B "$work/build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/build" >/dev/null
fuzzer="$work/build/ppm_reader_fuzz"

rm -rf "$work/corpus" && mkdir -p "$work/corpus"
cp "$here"/corpus/* "$work/corpus/"
cd "$work"
if ! "$fuzzer" -runs=0 "$here/regressions" "$here/corpus" >"$work/replay.log" 2>&1; then
  cat "$work/replay.log"
  exit 1
fi
echo "replayed $(find "$here/regressions" "$here/corpus" -type f | wc -l) saved inputs"
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work/corpus" 2>&1 |
  tee "$work/fuzz.log" | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY)' || true
exit "${PIPESTATUS[0]}"
