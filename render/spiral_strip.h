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
  const double c = ring / kTwoPi;
  return {gradient,
          {1.0 - c, 0.0, c},
          {cosRing * cosTube, sinTube, sinRing * cosTube},
          {cosRing * rho, y, sinRing * rho}};
}

// Hands the 2·n·m + 2 strip vertices to `emit` in drawing order. r: tube radius, R: ring
// radius, m: vertex pairs per turn, n: turns. Nothing is stored, so a frame allocates nothing.
template <typename Emit>
void forEachStripVertex(double r, double R, int m, int n, bool gradient, Emit&& emit) {
  // Angles are formed in double from the start: 2·i must not be an int product.
  for (int i = 0; i < n; ++i) {
    const double phi = (2.0 * i) * kPi / n;
    for (int j = 0; j < m; ++j) {
      const double theta = (2.0 * j) * kPi / m;
      const double cosTheta = std::cos(theta);
      const double sinTheta = std::sin(theta);
      const double rho = R + r * cosTheta;
      const double y = r * sinTheta;
      const double leading = (kTwoPi / n + phi) + theta / n;
      const double trailing = theta / n + phi;
      emit(tubeVertex(leading, cosTheta, sinTheta, rho, y, gradient));
      emit(tubeVertex(trailing, cosTheta, sinTheta, rho, y, gradient));
    }
  }
  // The closing pair lands on the first pair, on the outer equator; it carries no colour, so
  // the last one set stays in force.
  const double closing = kTwoPi / n;
  const double outer = R + r;
  emit(StripVertex{false,
                   {0.0, 0.0, 0.0},
                   {std::cos(closing), 0.0, std::sin(closing)},
                   {std::cos(closing) * outer, 0.0, std::sin(closing) * outer}});
  emit(StripVertex{false, {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {outer, 0.0, 0.0}});
}
