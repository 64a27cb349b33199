#!/usr/bin/env bash
# Runs every benchmark side by side on this machine and prints the results as Markdown tables
# (also saved to build/bench-results.md): the strip's CPU cost, frame rates against the floor
# and the precomputed-strip limit, the loader against a page-cache read, PNG and JPEG decoding
# against pngtopnm and djpeg, the project's share of a frame's instructions and its heap
# allocations per frame, what --fps and --results add to a frame's instructions, Page Down to a
# large map with and without read-ahead, the memory of browsing a thousand maps, a paced run's
# drift on a busy machine, and a long soak.
#
# Usage: bench/run_benchmarks.sh [RUNS]   (RUNS per frame-rate figure, default 7; medians)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tools/setup.sh"
runs=${1:-7}
# The libraries' own tools, to hold the map decoding against.
velkarin_install_packages netpbm libjpeg-turbo-progs
bench=$VELKARIN_BUILD/bench
env_map=$VELKARIN_ROOT/assets/env.ppm
results=$VELKARIN_BUILD/bench-results.md
command -v python3 >/dev/null || { echo "bench: python3 is needed" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
  source "$VELKARIN_ROOT/tools/virtual_display.sh"
  velkarin_with_display bash "${BASH_SOURCE[0]}" "$@"
  exit
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# fps PROGRAM SCENE FRAMES: frames per second of one run.
fps() { "$bench/$1" "$2" "$3" "$env_map" | awk '{ print $2 }'; }

# fps_pairs SCENE FRAMES: the viewer and the limit program, run by turns and each first every
# other time, so that drifts in the machine's speed touch both alike; prints both medians.
fps_pairs() {
  local pairs run viewer limit
  pairs=$(for run in $(seq "$runs"); do
    if [ $((run % 2)) -eq 1 ]; then
      viewer=$(fps velkarin_frame_rate "$1" "$2")
      limit=$(fps velkarin_frame_rate_limit "$1" "$2")
    else
      limit=$(fps velkarin_frame_rate_limit "$1" "$2")
      viewer=$(fps velkarin_frame_rate "$1" "$2")
    fi
    echo "$viewer $limit"
  done)
  echo "$(awk '{ print $1 }' <<<"$pairs" | median) $(awk '{ print $2 }' <<<"$pairs" | median)"
}

{
  echo "## Strip generation (CPU only, Google Benchmark, median of 5)"
  echo
  echo "| turns/steps | time per frame | vertices per second |"
  echo "|---|---|---|"
  "$bench/velkarin_bench" --benchmark_filter=stripGeneration --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median/ { split($1, a, "/"); gsub(/"/, "", a[2]); gsub(/_median"?/, "", a[3]);
      printf "| %s/%s | %.3f ms | %.1f M |\n", a[2], a[3], $4 / 1e6, $7 / 1e6 }'
  echo

  echo "## Frame rate in the 620 × 160 window (Xvfb, Mesa llvmpipe, median of $runs runs)"
  echo
  floor=$(for _ in $(seq "$runs"); do fps velkarin_frame_rate floor 5000; done | median)
  echo "Floor (clear and swap only): $floor fps."
  echo
  echo "| scene | viewer fps | limit fps (strip precomputed) | viewer ÷ limit | viewer ÷ floor |"
  echo "|---|---|---|---|---|"
  for scene_frames in default:4000 envmap:4000 n100:500 n300:80; do
    scene=${scene_frames%%:*}
    frames=${scene_frames##*:}
    read -r viewer limit <<<"$(fps_pairs "$scene" "$frames")"
    echo "| $scene | $viewer | $limit | $(ratio "$viewer" "$limit") | $(ratio "$viewer" "$floor") |"
  done
  echo

  echo "## The --hud readout over the default frame (median of $runs pairs, run by turns)"
  echo
  readout=$(for k in $(seq "$runs"); do
    if [ $((k % 2)) = 1 ]; then
      plain=$(fps velkarin_frame_rate default 4000)
      hud=$(fps velkarin_frame_rate hud 4000)
    else
      hud=$(fps velkarin_frame_rate hud 4000)
      plain=$(fps velkarin_frame_rate default 4000)
    fi
    ratio "$hud" "$plain"
    echo
  done | median)
  echo "With the readout ÷ without: $readout (goal: at least 0.9)."
  echo

  echo "## Loader: 4096 × 4096 env.ppm (48 MiB) from the page cache (median of 5)"
  echo
  "$bench/velkarin_bench" --benchmark_filter='readPpmFile|pageCacheRead' --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median/ { gsub(/"/, "", $1); gsub(/_median/, "", $1); rate[$1] = $6 / 2^30;
      printf "- %s: %.2f GiB/s\n", $1, rate[$1] }
      END { printf "- loader ÷ page-cache read: %.3f\n", rate["readPpmFile"] / rate["pageCacheRead"] }'
  echo
  echo "## PNG and JPEG maps: 2048 × 2048, decoded against the libraries' own tools (median of 9)"
  echo
  maps=${TMPDIR:-/tmp}/velkarin-bench-2048
  convert "$env_map" -resize 2048x2048 "$maps.png"
  convert "$env_map" -resize 2048x2048 -quality 90 "$maps.jpg"
  decoded=$(VELKARIN_BENCH_PNG=$maps.png VELKARIN_BENCH_JPEG=$maps.jpg "$bench/velkarin_bench" \
    --benchmark_filter='decode' --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | awk -F, '/_median/ { gsub(/"/, "", $1); print $1, $3 }')
  tool_ms() { for _ in $(seq 9); do
    start=$(date +%s%N); "$@" >/dev/null 2>&1; echo $(( ($(date +%s%N) - start) / 1000 ))
  done | median | awk '{ printf "%.2f", $1 / 1000 }'; }
  png_tool=$(tool_ms pngtopnm "$maps.png")
  jpeg_tool=$(tool_ms djpeg "$maps.jpg")
  png_ours=$(awk '$1 == "decodePngMap_median" { print $2 }' <<<"$decoded")
  jpeg_ours=$(awk '$1 == "decodeJpegMap_median" { print $2 }' <<<"$decoded")
  echo "- PNG: ${png_ours} ms, pngtopnm ${png_tool} ms: ratio $(ratio "$png_tool" "$png_ours") (goal: at least 0.9)"
  echo "- JPEG: ${jpeg_ours} ms, djpeg ${jpeg_tool} ms: ratio $(ratio "$jpeg_tool" "$jpeg_ours") (goal: at least 0.9)"
  big=${TMPDIR:-/tmp}/velkarin-bench-4096.ppm
  cat "$big" >/dev/null
  cat_seconds=$(for _ in $(seq 9); do
    start=$(date +%s%N); cat "$big" >/dev/null; echo $(( $(date +%s%N) - start ))
  done | median)
  awk -v ns="$cat_seconds" -v bytes="$(stat -c %s "$big")" \
    'BEGIN { printf "- cat file > /dev/null: %.2f GiB/s (median of 9, process start included)\n", bytes / ns * 1e9 / 2^30 }'
  echo

  echo "## Instructions and heap allocations per default frame (callgrind)"
  echo
  # Only the frames are counted (callgrind collects inside renderFrame), and llvmpipe
  # rasterises on the calling thread, so each frame's whole cost falls inside its call.
  for program in velkarin_frame_rate velkarin_frame_rate_limit; do
    for frames in 200 400; do
      LP_NUM_THREADS=0 valgrind --tool=callgrind --compress-strings=no --compress-pos=no \
        --toggle-collect='renderFrame*' \
        --callgrind-out-file="$VELKARIN_BUILD/callgrind.$program.$frames" \
        "$bench/$program" default "$frames" >/dev/null 2>&1
      python3 "$VELKARIN_ROOT/bench/callgrind_split.py" "$VELKARIN_BUILD/callgrind.$program.$frames" \
        "/$program" >"$VELKARIN_BUILD/callgrind.$program.$frames.split"
    done
  done
  python3 - "$VELKARIN_BUILD"/callgrind.velkarin_frame_rate{,_limit}.{200,400}.split <<'PY'
import sys

def load(path):
    return {k: int(v) for k, v in (p.split("=") for p in open(path).read().split())}

def per_frame(short, long):
    a, b = load(short), load(long)
    return {k: (b[k] - a[k]) / 200 for k in a}

viewer = per_frame(sys.argv[1], sys.argv[2])
limit = per_frame(sys.argv[3], sys.argv[4])
share = (viewer["project"] + viewer["project_math"]) / viewer["total"]
print("Steady state: the difference of a 400-frame and a 200-frame run, divided by 200, so that")
print("the first frames' shader compilation drops out. llvmpipe rasterises on the calling thread.")
print()
print("| per default frame | value |")
print("|---|---|")
print(f"| instructions, all | {viewer['total']:,.0f} |")
print(f"| instructions in project code | {viewer['project']:,.0f} |")
print(f"| instructions in maths calls from project code | {viewer['project_math']:,.0f} |")
print(f"| project share (code + its maths calls) | {share:.2%} |")
print(f"| instructions of the limit program's frame | {limit['total']:,.0f} |")
print(f"| limit ÷ viewer instructions (the frame-rate ratio a CPU-bound frame would show) | {limit['total'] / viewer['total']:.3f} |")
print(f"| heap allocations, all callers | {viewer['all_allocs']:.1f} |")
print(f"| heap allocations by project code | {viewer['project_allocs']:.1f} |")
PY
  echo

  echo "## What --fps and --results cost a frame (callgrind)"
  echo
  # A frame's own cost varies by some thousands of instructions from run to run (the X
  # server's replies): the figures' cost is counted in the only code they add to a frame,
  # collected alone (each frame's time into the histograms, the five-second count and its
  # lines), against the default frame's instructions.
  (cd "$VELKARIN_ROOT/assets" && LP_NUM_THREADS=0 valgrind --tool=callgrind \
    --toggle-collect='addFrameTime*' --toggle-collect='countFrame*' --toggle-collect='printLine*' \
    --callgrind-out-file="$VELKARIN_BUILD/callgrind.figures" \
    "$VELKARIN_BUILD/velkarin" --frames 400 --fps --results /dev/null >/dev/null 2>&1)
  figures=$(awk '/^summary:/ { print $2 }' "$VELKARIN_BUILD/callgrind.figures")
  python3 - "$figures" "$VELKARIN_BUILD"/callgrind.velkarin_frame_rate.{200,400}.split <<'PY'
import sys

def total(path):
    return int(dict(p.split("=") for p in open(path).read().split())["total"])

figures = int(sys.argv[1]) / 400
frame = (total(sys.argv[3]) - total(sys.argv[2])) / 200
print("| per default frame | instructions |")
print("|---|---|")
print(f"| the frame (as above) | {frame:,.0f} |")
print(f"| what --fps and --results add | {figures:,.0f} ({figures / frame:.3%}) |")
PY
  echo

  echo "## Page Down to a 4096 × 4096 map, and memory over a thousand maps"
  echo
  # Noise: the hardest picture to compress, so the slowest to decode.
  maps=$VELKARIN_BUILD/bench-maps
  rm -rf "$maps" && mkdir -p "$maps/thousand" "$maps/three"
  convert -size 4096x4096 xc: +noise Random -depth 8 "$maps/large.png"
  convert "$maps/large.png" -quality 90 "$maps/large.jpg"
  "$VELKARIN_BUILD/velkarin_make_matcaps" "$maps/small"
  echo "| map | without read-ahead (ms) | with read-ahead (ms) |"
  echo "|---|---|---|"
  for large in large.png large.jpg; do
    for _ in 1 2 3 4 5; do
      "$bench/velkarin_page_down" "$maps/small/brass.png" "$maps/$large"
    done >"$maps/$large.times"
    without=$(awk '/^without/ { print $2 }' "$maps/$large.times" | median)
    with=$(awk '/^with-/ { print $2 }' "$maps/$large.times" | median)
    echo "| 4096 × 4096 ${large##*.} | $without | $with |"
  done
  echo
  # Page Down held (30 presses a second for 4 s) over six 4096 × 4096 maps in a run a person
  # drives: the longest frame meanwhile, and the time from the last press to the map asked for.
  mkdir -p "$maps/six"
  for n in 1 2 3 4 5 6; do cp "$maps/large.png" "$maps/six/$n.png"; done
  for _ in 1 2 3; do
    "$bench/velkarin_page_down_held" "$VELKARIN_BUILD/velkarin" "$maps/six"
  done >"$maps/held.times"
  longest=$(awk '/^longest-frame-ms/ { print $2 }' "$maps/held.times" | median)
  last=$(awk '/^last-map-ms/ { print $2 }' "$maps/held.times" | median)
  echo "Page Down held over six 4096 × 4096 PNGs: longest frame $longest ms; the map asked for shown $last ms after the last press."
  echo
  # The peak resident memory of browsing 1,000 maps of 1024 × 1024 against browsing 3: each
  # Page Down also draws a frame at once, so a run draws two frames a map.
  convert -size 1024x1024 xc: +noise Random -depth 8 "$maps/noise.png"
  for n in $(seq 1000); do cp "$maps/noise.png" "$maps/thousand/$n.png"; done
  for n in 1 2 3; do cp "$maps/noise.png" "$maps/three/$n.png"; done
  browse_peak() {
    /usr/bin/time -f %M "$VELKARIN_BUILD/velkarin" --env-map "$1" --frames $((2 * $2 + 5)) \
      --keys "pfe$(printf '<pagedown>%.0s' $(seq "$2"))" 2>&1 >/dev/null | tail -n 1
  }
  three=$(browse_peak "$maps/three" 3)
  thousand=$(browse_peak "$maps/thousand" 1000)
  awk -v a="$three" -v b="$thousand" 'BEGIN { printf "Peak resident memory: 3 maps %.0f MB, 1,000 maps %.0f MB (%+.0f MB).\n", a / 1024, b / 1024, (b - a) / 1024 }'
  echo

  echo "## Pace under load: --frame-rate 60 --frames 600 beside four busy processes"
  echo
  # Four processes that never sleep keep both cores busy (a load of about 5 with the viewer):
  # a paced run must still end on its schedule, 600 frames in 10 seconds.
  busy=()
  for _ in 1 2 3 4; do
    (while :; do :; done) &
    busy+=($!)
  done
  paced=$(cd "$VELKARIN_ROOT/assets" && for _ in 1 2 3; do
    start=$(date +%s%N)
    "$VELKARIN_BUILD/velkarin" --frame-rate 60 --frames 600 >/dev/null
    echo $(( ($(date +%s%N) - start) / 1000000 ))
  done | median)
  kill "${busy[@]}"
  wait "${busy[@]}" 2>/dev/null || true
  awk -v ms="$paced" 'BEGIN { printf "Median of 3 runs: %.2f s for 600 frames (10.00 s on schedule; drift %+.1f %%), %.1f frames a second.\n", ms / 1000, (ms / 10000 - 1) * 100, 600000 / ms }'
  echo

  echo "## A picture's cost at 2000 × 2000, on its own (median of 5)"
  echo
  # The run's seconds cover drawing and swapping only: the same 30 frames with and without a
  # picture of the last one give the same rate, and the picture's writing is its own figure.
  pictures=$VELKARIN_BUILD/bench-pictures
  mkdir -p "$pictures"
  figure() { python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$@"; }
  for _ in 1 2 3 4 5; do
    for kept in plain shot; do
      picture=()
      [ "$kept" = shot ] && picture=(--screenshot "$pictures/shot.png")
      (cd "$VELKARIN_ROOT/assets" && "$VELKARIN_BUILD/velkarin" -geometry 2000x2000 --keys pfe \
        --frames 30 --results "$pictures/$kept.json" "${picture[@]}" >/dev/null)
    done
    echo "$(figure "$pictures/plain.json" fps) $(figure "$pictures/shot.json" fps) $(figure "$pictures/shot.json" picture_seconds)"
  done >"$pictures/figures"
  plain=$(awk '{ print $1 }' "$pictures/figures" | median)
  shot=$(awk '{ print $2 }' "$pictures/figures" | median)
  cost=$(awk '{ print $3 * 1000 }' "$pictures/figures" | median)
  echo "| run of 30 frames | FPS |"
  echo "|---|---|"
  echo "| no picture | $plain |"
  echo "| the last frame saved as a PNG | $shot |"
  echo
  echo "The picture itself (read back, PNG, written and synced): $cost ms."
  echo

  echo "## Soak: 100000 frames with every command pressed along the way"
  echo
  echo '```'
  "$VELKARIN_BUILD/tests/velkarin_soak" 100000 "$env_map"
  echo '```'
} | tee "$results"
