#pragma once

#include "scene/scene_state.h"

// One animated frame: the torus spins by its rates and every light orbits by its own rate.
void advanceAnimation(SceneState& state);

// Adds `rate` degrees to a light angle and folds it back by whole turns, truncating toward
// zero: growing angles stay in [0, 360), shrinking ones in (-360, 0].
float advanceLightAngle(float angle, double rate);
