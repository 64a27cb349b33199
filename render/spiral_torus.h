#pragma once

#include "scene/scene_state.h"

inline constexpr float kTorusShininess = 80.0f;

// Emits the torus as one strip in the scene's strip primitive, with the torus's shininess and
// specular colour (the scene's switch) and its gradient where on: `turns` turns around the
// tube of `stepsPerTurn` vertex pairs each. Leaves the material and, with the gradient on, the
// last colour in force.
void drawSpiralTorus(const SceneState& scene, double tubeRadius, double ringRadius,
                     int stepsPerTurn, int turns);
