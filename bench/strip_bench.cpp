// Per-frame CPU cost of generating the torus strip, without GL.
#include <benchmark/benchmark.h>

#include "render/spiral_strip.h"

namespace {

void stripGeneration(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const int steps = static_cast<int>(state.range(1));
  StripScratch scratch;
  for (auto _ : state) {
    double sum = 0.0;
    forEachStripVertex(1.0, 3.0, steps, count, false, scratch,
                       [&](const StripVertex& v) { sum += v.normal[0] + v.position[1]; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * (2 * int64_t{count} * steps + 2));
}

}  // namespace

BENCHMARK(stripGeneration)->Args({10, 8})->Args({100, 100})->Args({300, 300});
