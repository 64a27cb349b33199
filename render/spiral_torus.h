#pragma once

inline constexpr float kTorusShininess = 80.0f;

// Emits the torus as one strip in the scene's strip primitive, with the torus's shininess and
// specular colour. r: tube radius, R: ring radius, m: vertex pairs per turn, n: turns.
// Leaves the material and, with the gradient on, the last colour in force.
void drawSpiralTorus(double r, double R, int m, int n);
