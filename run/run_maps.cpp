#include "run/run_maps.h"

#include <climits>
#include <cstdio>

#include "maps/maps.h"
#include "run/run_end.h"
#include "run/run_frame.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

// How often a person's run looks whether the map asked for is in.
constexpr unsigned kMapAwaitedMs = 10;
// GLUT's timer carries an int: the chain's number wraps within it.
constexpr unsigned kChainMask = INT_MAX;

// GLUT's timer carries no more than a number, the chain it belongs to: a step starts a new
// chain at once, and the older one stops. The maps are found in the run's record.
void onMapTimer(int chain) {
  if (static_cast<unsigned>(chain) != run.mapTimerChain) {
    return;
  }
  if (!run.scripted && settleRunMaps(0.0)) {
    drawFrameNow();
  }
  const unsigned next = !run.scripted && mapAwaited(run.maps)
                            ? kMapAwaitedMs
                            : lookAtShownMap(run.maps, secondsNow());
  glutTimerFunc(next, onMapTimer, chain);
}

}  // namespace

bool settleRunMaps(double waitSeconds) {
  const bool shown = settleMaps(run.maps, waitSeconds);
  sayTexture();
  return shown;
}

void sayTexture() {
  if (run.textureSaid || mapAwaited(run.maps)) {
    return;
  }
  run.textureSaid = true;
  std::printf("tex = %d\n", static_cast<int>(scene.envTexture));
  // The process only ever ends by exit or by a signal; flush so a pipe sees the line now.
  std::fflush(stdout);
}

void startMapTimer() {
  // A counted or replayed run's pictures must not depend on when a map's file changed.
  if (run.plan.frames > 0 || !run.plan.replay.empty()) {
    return;
  }
  if (const unsigned first = watchShownMap(run.maps); first > 0) {
    glutTimerFunc(mapAwaited(run.maps) ? kMapAwaitedMs : first, onMapTimer,
                  static_cast<int>(run.mapTimerChain));
  }
}

void hurryMapTimer() {
  if (!run.scripted && run.maps.watching) {
    run.mapTimerChain = (run.mapTimerChain + 1) & kChainMask;
    glutTimerFunc(kMapAwaitedMs, onMapTimer, static_cast<int>(run.mapTimerChain));
  }
}

bool scriptedMapIsIn() {
  if (!waitsForMap()) {
    return true;
  }
  settleRunMaps(kMapWaitSeconds);
  if (mapAwaited(run.maps)) {
    return false;
  }
  if (run.frameOwed) {
    run.frameOwed = false;
    drawRunFrame();
  }
  return true;
}

bool waitsForMap() {
  return run.scripted && mapAwaited(run.maps);
}
