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
  // Positions are 16-bit (live ones by X, replayed ones as the session is read), and what is
  // pending stays below a degree's pixels, so these sums stay far inside int.
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
