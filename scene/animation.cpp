#include "scene/animation.h"

#include "scene/wrapping.h"

namespace {
constexpr int kDegreesPerTurn = 360;
}

float advanceLightAngle(float angle, double rate) {
  const float moved = static_cast<float>(angle + rate);
  const int degrees = static_cast<int>(moved);
  return moved - static_cast<float>(kDegreesPerTurn * (degrees / kDegreesPerTurn));
}

void advanceAnimation(SceneState& state) {
  state.spinX = wrappingAdd(state.spinX, state.spinRateX);
  state.spinY = wrappingAdd(state.spinY, state.spinRateY);
  for (int k = 0; k < kLightCount; ++k) {
    state.lightAngle[k] = advanceLightAngle(state.lightAngle[k], kLights[k].rate);
  }
}
