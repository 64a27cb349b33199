#include "run/input_handling.h"

#include <cstdlib>

#include "input/keyboard.h"
#include "input/mouse.h"
#include "run/kept_session.h"
#include "run/maps.h"
#include "run/run.h"
#include "run/run_end.h"
#include "scene/scene_state.h"

namespace {

constexpr int kQuitStatus = 1;

Drag drag;

void handleKey(const InputEvent& event) {
  if (event.key.special) {
    if (isCommandSpecialKey(event.key.code)) {
      recordInput(event);
    }
    const KeyAction action = applySpecialKey(scene, event.key.code);
    // Another map draws at once, as switching the map on does.
    if (action != KeyAction::NextFrame && stepMap(action == KeyAction::NextMap ? 1 : -1)) {
      drawFrameNow();
    }
    return;
  }
  const auto key = static_cast<unsigned char>(event.key.code);
  // Escape ends a session rather than belonging to it.
  if (isCommandKey(key) && key != kEscapeKey) {
    recordInput(event);
  }
  switch (applyKey(scene, key)) {
    case KeyAction::Quit:
      quitRun(kQuitStatus);
    case KeyAction::DrawNow:
      drawFrameNow();
      break;
    case KeyAction::NextFrame:
    case KeyAction::NextMap:
    case KeyAction::PreviousMap:
      break;
  }
}

}  // namespace

void handleInput(const InputEvent& event) {
  switch (event.kind) {
    case InputKind::Key:
      handleKey(event);
      break;
    case InputKind::Press:
      recordInput(event);
      beginDrag(drag, event.x, event.y);
      break;
    case InputKind::Release:
      recordInput(event);
      endDrag(drag);
      break;
    case InputKind::Motion:
      if (drag.active) {
        recordInput(event);
      }
      // Like the x/X and z/Z keys, a drag that moves the view draws at once.
      if (dragTo(drag, scene, event.x, event.y)) {
        drawFrameNow();
      }
      break;
  }
}
