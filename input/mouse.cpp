#include "input/mouse.h"

#include "scene/wrapping.h"

namespace {

// Takes the whole degrees out of `pending` pixels, leaving the rest (with its sign) for later.
std::int32_t takeWholeDegrees(int& pending) {
  const int degrees = pending / kPixelsPerDegree;
  pending -= degrees * kPixelsPerDegree;
  return degrees;
}

}  // namespace

void beginDrag(Drag& drag, int x, int y) {
  drag = Drag{true, x, y, 0, 0};
}

void endDrag(Drag& drag) {
  drag.active = false;
}

bool dragTo(Drag& drag, SceneState& state, int x, int y) {
  if (!drag.active) {
    return false;
  }
  // Positions lie from kLeastPointer to kMostPointer: live ones as X carries them, replayed
  // ones because the session reader refuses any other. A difference of two then spans at most
  // 65,535 pixels, and what is pending stays below a degree's, so these sums stay inside int.
  drag.pendingX += x - drag.lastX;
  drag.pendingY += y - drag.lastY;
  drag.lastX = x;
  drag.lastY = y;
  const std::int32_t turn = takeWholeDegrees(drag.pendingX);
  const std::int32_t tilt = takeWholeDegrees(drag.pendingY);
  state.viewTurnY = wrappingAdd(state.viewTurnY, turn);
  state.viewTiltX = wrappingAdd(state.viewTiltX, tilt);
  return turn != 0 || tilt != 0;
}
