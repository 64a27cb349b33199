// How long frames took, from the swap of one to the swap of the next, gathered into a histogram
// of fixed size: counting a frame allocates nothing however long the run. Its bins are 0.1 %
// wide from 10 µs to 10 s, so a median or a 99th percentile is within 0.05 % of the time
// measured (and within the shortest and longest, which are kept exactly). Pure.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr double kShortestBinnedSeconds = 1e-5;
inline constexpr double kBinGrowth = 1.001;
inline constexpr std::size_t kFrameTimeBins = 13823;  // 10 µs × 1.001^13823 ≈ 10 s

struct FrameTimes {
  std::array<std::uint64_t, kFrameTimeBins> bins{};
  std::uint64_t count = 0;
  double shortest = 0.0;  // seconds
  double longest = 0.0;
};

// Counts one frame's time, in seconds.
void addFrameTime(FrameTimes& times, double seconds);

// The time that `fraction` of the frames took at most (0.5 the median), by nearest rank, in
// seconds; 0 with no frames counted.
double frameTimeAt(const FrameTimes& times, double fraction);

// "; frame times: median 16.67 ms, 99th percentile 17.02 ms, max 20.10 ms", or "" with no
// frames counted: what a frame-rate line adds.
std::string frameTimesWords(const FrameTimes& times);
