#include "run/frame_counter.h"

#include <cstdio>

std::string frameRateLine(std::int64_t frames, double seconds, int secondsDecimals,
                          const std::string& more) {
  char line[112];
  // A run stopped before its first frame took no time: 0 frames at 0 FPS, never 0 / 0.
  const double rate = seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0;
  std::snprintf(line, sizeof line, "%lld %s in %.*f seconds = %.3f FPS",
                static_cast<long long>(frames), framesWord(frames), secondsDecimals, seconds, rate);
  return line + more + "\n";
}

std::string countFrame(FrameCounter& counter, double now, FrameTimes* times) {
  if (!counter.started) {
    counter = FrameCounter{0, now, true};  // the count runs from this frame on
    return "";
  }
  ++counter.frames;
  const double elapsed = now - counter.since;
  if (elapsed < kFrameCountSeconds) {
    return "";
  }
  const std::string line = frameRateLine(counter.frames, elapsed, kIntervalSecondsDecimals,
                                         times != nullptr ? frameTimesWords(*times) : "");
  if (times != nullptr) {
    *times = FrameTimes{};
  }
  counter = FrameCounter{0, now, true, counter.frames / elapsed};
  return line;
}
