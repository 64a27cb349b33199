#include "app/frame_counter.h"

#include <cstdio>

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
  char line[96];
  std::snprintf(line, sizeof line, "%d frames in %.1f seconds = %.3f FPS\n", counter.frames,
                elapsed, counter.frames / elapsed);
  counter = FrameCounter{0, now, true};
  return line;
}
