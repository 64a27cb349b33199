#include "run/run_maps.h"

#include <cstdio>

#include "files/complaint.h"
#include "maps/maps.h"
#include "run/run_end.h"
#include "run/run_frame.h"
#include "run/run_state.h"
#include "scene/scene_state.h"

namespace {

constexpr char kTitleBeforeMap[] = " - ";

}  // namespace

bool settleRunMaps(RunState& run, SceneState& scene, double waitSeconds) {
  const bool shown = settleMaps(run.maps, waitSeconds);
  showMapsAnswer(run, scene);
  sayTexture(run, scene);
  return shown;
}

// A map's name in a title must be UTF-8 (a Latin-1 name's bytes are not): odd bytes show as
// U+FFFD. One map has nowhere to go: the title stays the viewer's own.
void showMapsAnswer(RunState& run, SceneState& scene) {
  if (const GLuint texture = shownTexture(run.maps); texture != 0) {
    scene.envTexture = texture;
  }
  if (run.maps.showings == 0) {
    return;  // no map named has been shown yet
  }
  const std::string shown = mapShown(run.maps);
  const std::string title =
      std::string(kWindowTitle) + (shown.empty() ? "" : kTitleBeforeMap + wellFormedText(shown));
  if (title != run.title) {
    run.title = title;
    run.window.setTitle(title);
  }
}

void sayTexture(RunState& run, SceneState& scene) {
  if (run.textureSaid || mapAwaited(run.maps)) {
    return;
  }
  run.textureSaid = true;
  std::printf("tex = %d\n", static_cast<int>(scene.envTexture));
  // The process only ever ends by exit or by a signal; flush so a pipe sees the line now.
  std::fflush(stdout);
}

unsigned startMapWatch(RunState& run) {
  // A counted or replayed run's pictures must not depend on when a map's file changed.
  if (run.plan.frames > 0 || !run.plan.replay.empty()) {
    return 0;
  }
  // A kept session names the maps it was kept with, and its Page Downs step among those: while
  // one is kept, the folders' maps stay as they were at start.
  if (!run.plan.record.empty()) {
    run.maps.folders.clear();
  }
  const unsigned first = watchShownMap(run.maps);
  return first > 0 && mapAwaited(run.maps) ? kMapAwaitedMs : first;
}

unsigned mapTimerTick(RunState& run, SceneState& scene) {
  if (!run.scripted && settleRunMaps(run, scene, 0.0)) {
    drawFrameNow(run, scene);
  }
  if (!run.scripted && mapAwaited(run.maps)) {
    return kMapAwaitedMs;
  }
  const unsigned next = lookAtShownMap(run.maps, secondsNow());
  showMapsAnswer(run, scene);
  return next;
}

void hurryMapTimer(RunState& run) {
  run.mapsHurried = !run.scripted && run.maps.watching;
}

bool takeMapsHurried(RunState& run) {
  const bool hurried = run.mapsHurried;
  run.mapsHurried = false;
  return hurried;
}

bool scriptedMapIsIn(RunState& run, SceneState& scene) {
  if (!waitsForMap(run)) {
    return true;
  }
  settleRunMaps(run, scene, kMapWaitSeconds);
  if (mapAwaited(run.maps)) {
    return false;
  }
  if (run.frameOwed) {
    run.frameOwed = false;
    drawRunFrame(run, scene);
  }
  return true;
}

bool waitsForMap(const RunState& run) {
  return run.scripted && mapAwaited(run.maps);
}
