// The --fps readout: how many frames were drawn in each five seconds.
#pragma once

#include <cstdint>
#include <string>

#include "run/frame_times.h"

inline constexpr double kFrameCountSeconds = 5.0;

// "frame" for one, "frames" for any other count.
inline const char* framesWord(std::int64_t count) {
  return count == 1 ? "frame" : "frames";
}

struct FrameCounter {
  int frames = 0;
  double since = 0.0;  // when the current count began, in seconds
  bool started = false;
  double lastRate = -1.0;  // frames a second over the last whole count; negative until one
};

// "N frames in S seconds = F FPS\n" ("1 frame in ..."): the form of every frame-rate line,
// with `more` (the frame times) before its end. The lines of each five seconds give S to a tenth,
// as demos have always printed it; a whole run's line, which may last a fraction of a second, to
// the millisecond, so that S × F comes back to N.
inline constexpr int kIntervalSecondsDecimals = 1;
inline constexpr int kRunSecondsDecimals = 3;
std::string frameRateLine(std::int64_t frames, double seconds,
                          int secondsDecimals = kIntervalSecondsDecimals,
                          const std::string& more = "");

// Counts one frame drawn at `now` seconds; the first only starts the count. Once five seconds
// have passed since the count began, returns "N frames in 5.0 seconds = F FPS\n", with the
// figures of `times` when given, and begins a new count (emptying `times`); otherwise "".
std::string countFrame(FrameCounter& counter, double now, FrameTimes* times = nullptr);
