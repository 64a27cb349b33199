#pragma once

inline constexpr float kTorusShininess = 80.0f;

// Emits the torus as one strip in the scene's strip primitive, with the torus's shininess and
// specular colour: `turns` turns around the tube of `stepsPerTurn` vertex pairs each. Leaves
// the material and, with the gradient on, the last colour in force.
void drawSpiralTorus(double tubeRadius, double ringRadius, int stepsPerTurn, int turns);
