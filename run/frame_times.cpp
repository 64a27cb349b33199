#include "run/frame_times.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

std::size_t binOf(double seconds) {
  if (!(seconds > kShortestBinnedSeconds)) {
    return 0;  // a negative or NaN time, which a steady clock never gives, counts as the least
  }
  const double bin = std::floor(std::log(seconds / kShortestBinnedSeconds) / std::log(kBinGrowth));
  return static_cast<std::size_t>(std::min(bin, static_cast<double>(kFrameTimeBins - 1)));
}

// The middle of a bin, on its geometric scale.
double binMiddle(std::size_t bin) {
  return kShortestBinnedSeconds * std::pow(kBinGrowth, static_cast<double>(bin) + 0.5);
}

}  // namespace

void addFrameTime(FrameTimes& times, double seconds) {
  ++times.bins[binOf(seconds)];
  times.shortest = times.count == 0 ? seconds : std::min(times.shortest, seconds);
  times.longest = times.count == 0 ? seconds : std::max(times.longest, seconds);
  ++times.count;
}

double frameTimeAt(const FrameTimes& times, double fraction) {
  if (times.count == 0) {
    return 0.0;
  }
  const auto rank = std::max<std::uint64_t>(
      1, static_cast<std::uint64_t>(std::ceil(fraction * static_cast<double>(times.count))));
  std::uint64_t seen = 0;
  std::size_t bin = 0;
  while (bin + 1 < kFrameTimeBins && seen + times.bins[bin] < rank) {
    seen += times.bins[bin++];
  }
  // The first and last bins hold everything beyond the ends: the shortest and the longest
  // time measured say them better than a middle.
  if (bin == 0) {
    return times.shortest;
  }
  if (bin + 1 == kFrameTimeBins) {
    return times.longest;
  }
  return std::clamp(binMiddle(bin), times.shortest, times.longest);
}

std::string frameTimesWords(const FrameTimes& times) {
  if (times.count == 0) {
    return "";
  }
  char words[128];
  std::snprintf(
      words, sizeof words, "; frame times: median %.2f ms, 99th percentile %.2f ms, max %.2f ms",
      frameTimeAt(times, 0.5) * kMillisecondsPerSecond,
      frameTimeAt(times, 0.99) * kMillisecondsPerSecond, times.longest * kMillisecondsPerSecond);
  return words;
}
