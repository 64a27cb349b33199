#include "run/run_plan.h"

#include <algorithm>

bool drawsItsOwnFrames(const RunPlan& plan) {
  return !plan.keys.empty() || plan.frames > 0 || plan.frameRate > 0 || !plan.record.empty() ||
         !plan.replay.empty() || plan.fps || plan.hud || plan.samples > 0 ||
         !plan.results.empty() || plan.swapInterval >= 0;
}

const ScriptKey* takeNextKey(const RunPlan& plan, RunProgress& progress) {
  if (progress.keysPressed == plan.keys.size()) {
    return nullptr;
  }
  return &plan.keys[progress.keysPressed++];
}

bool isLastFrame(const RunPlan& plan, const RunProgress& progress) {
  return plan.frames > 0 && progress.framesDrawn + 1 == plan.frames;
}

std::int64_t frameNumberShown(const RunProgress& progress) {
  return progress.framesDrawn + 1;
}

void countDrawnFrame(RunProgress& progress) {
  ++progress.framesDrawn;
}

double frameDue(Pace& pace, int rate, double now) {
  const double period = 1.0 / rate;
  if (!pace.started || now > pace.next + kMostCatchUpSeconds) {
    pace = Pace{now + period, true};
    return now;
  }
  const double due = std::max(pace.next, now);
  pace.next += period;
  return due;
}
