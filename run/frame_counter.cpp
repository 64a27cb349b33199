#include "run/frame_counter.h"

#include <cstdio>

std::string frameRateLine(std::int64_t frames, double seconds, int secondsDecimals) {
  char line[112];
  std::snprintf(line, sizeof line, "%lld frames in %.*f seconds = %.3f FPS\n",
                static_cast<long long>(frames), secondsDecimals, seconds,
                static_cast<double>(frames) / seconds);
  return line;
}

std::string countFrame(FrameCounter& counter, double now) {
  if (!counter.started) {
    counter = FrameCounter{0, now, true};  // the count runs from this frame on
    return "";
  }
  ++counter.frames;
  const double elapsed = now - counter.since;
  if (elapsed < kFrameCountSeconds) {
    return "";
  }
  const std::string line = frameRateLine(counter.frames, elapsed);
  counter = FrameCounter{0, now, true, counter.frames / elapsed};
  return line;
}
