#include "run/run_input.h"

#include "maps/maps.h"
#include "run/exit_status.h"
#include "run/kept_session.h"
#include "run/run_end.h"
#include "run/run_frame.h"
#include "run/run_maps.h"
#include "run/run_state.h"
#include "scene/scene_state.h"

void takeInput(RunState& run, SceneState& scene, const InputEvent& event) {
  const InputReply reply = applyInput(scene, run.drag, event);
  if (reply.keep) {
    recordInput(run, event);
  }
  if (reply.quit) {
    quitRun(run, ExitStatus::Quit);
  }
  // Another map draws at once, as switching the map on does; with one map nothing changed. A
  // map not read yet is drawn once it is in: a scripted run owes the frame until then, and a
  // person's run draws it when the timer finds it.
  const bool mapAsked = reply.mapStep != 0 && stepMap(run.maps, reply.mapStep);
  const bool mapShown = mapAsked && settleRunMaps(run, scene, 0.0);
  if (mapAsked && !mapShown) {
    hurryMapTimer(run);
  }
  if (reply.drawNow || mapShown || (mapAsked && run.scripted)) {
    drawFrameNow(run, scene);
  }
}
