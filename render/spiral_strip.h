// Geometry of the helical torus strip, free of GL so it can be checked on its own.
//
// The strip goes once around the ring while circling the tube n times. Each turn advances
// around the ring by exactly the strip's own width, 1/n of the circle, so turn i + 1 lies edge
// to edge with turn i. Both vertices of a pair sit at the same point of the tube's
// cross-section, one strip-width apart along the ring; the leading one comes first.
#pragma once

#include <cmath>

// These literals, not full-precision pi: the strip's vertices are defined by them.
inline constexpr double kPi = 3.14159265359;
inline constexpr double kTwoPi = 6.28318530718;

struct StripVertex {
  bool hasColour;
  double colour[3];  // unclamped red-to-blue gradient, when hasColour
  double normal[3];  // unit outward normal of the tube
  double position[3];
};

// The vertex at ring angle `ring` on the tube circle whose angle has the given cosine and sine.
inline StripVertex tubeVertex(double ring, double cosTube, double sinTube, double rho, double y,
                              bool gradient) {
  const double cosRing = std::cos(ring);
  const double sinRing = std::sin(ring);
  StripVertex v{gradient,
                {0.0, 0.0, 0.0},
                {cosRing * cosTube, sinTube, sinRing * cosTube},
                {cosRing * rho, y, sinRing * rho}};
  if (gradient) {
    const double c = ring / kTwoPi;
    v.colour[0] = 1.0 - c;
    v.colour[2] = c;
  }
  return v;
}

// Hands the 2·n·m + 2 strip vertices to `emit` in drawing order. r: tube radius, R: ring
// radius, m: vertex pairs per turn, n: turns. Nothing is stored, so a frame allocates nothing.
//
// Every pair computes its own sines and cosines, each once (the compiler pairs each sin with
// its cos in one sincos call). What does not change along a loop is computed outside it, and
// 2·i and 2·j are counted in double: no int product can overflow and no conversion is made per
// step, while every angle keeps exactly the value the formulas give.
template <typename Emit>
void forEachStripVertex(double r, double R, int m, int n, bool gradient, Emit&& emit) {
  const double stripWidth = kTwoPi / n;
  double twoI = 0.0;
  for (int i = 0; i < n; ++i, twoI += 2.0) {
    const double phi = twoI * kPi / n;
    const double leadingStart = stripWidth + phi;
    double twoJ = 0.0;
    for (int j = 0; j < m; ++j, twoJ += 2.0) {
      const double theta = twoJ * kPi / m;
      const double cosTheta = std::cos(theta);
      const double sinTheta = std::sin(theta);
      const double rho = R + r * cosTheta;
      const double y = r * sinTheta;
      const double alongRing = theta / n;
      emit(tubeVertex(leadingStart + alongRing, cosTheta, sinTheta, rho, y, gradient));
      emit(tubeVertex(alongRing + phi, cosTheta, sinTheta, rho, y, gradient));
    }
  }
  // The closing pair lands on the first pair, on the outer equator; it carries no colour, so
  // the last one set stays in force.
  const double outer = R + r;
  const double cosClosing = std::cos(stripWidth);
  const double sinClosing = std::sin(stripWidth);
  emit(StripVertex{false,
                   {0.0, 0.0, 0.0},
                   {cosClosing, 0.0, sinClosing},
                   {cosClosing * outer, 0.0, sinClosing * outer}});
  emit(StripVertex{false, {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {outer, 0.0, 0.0}});
}
