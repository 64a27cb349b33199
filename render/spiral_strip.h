// Geometry of the helical torus strip, free of GL so it can be checked on its own.
//
// The strip goes once around the ring while circling the tube `turns` times. Each turn
// advances around the ring by exactly the strip's own width, 1/turns of the circle, so turn i + 1
// lies edge to edge with turn i. Both vertices of a pair sit at the same point of the tube's
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

// Hands the 2 · turns · stepsPerTurn + 2 strip vertices to `emit` in drawing order. Nothing
// is stored, so a frame allocates nothing.
//
// Every pair computes its own sines and cosines, each once (the compiler pairs each sin with
// its cos in one sincos call). What does not change along a loop is computed outside it, and
// twice the turn and step numbers are counted in double: no int product can overflow and no
// conversion is made per step, while every angle keeps exactly the value the formulas give.
template <typename Emit>
void forEachStripVertex(double tubeRadius, double ringRadius, int stepsPerTurn, int turns,
                        bool gradient, Emit&& emit) {
  const double stripWidth = kTwoPi / turns;  // ring angle one turn advances
  double twiceTurn = 0.0;
  for (int turn = 0; turn < turns; ++turn, twiceTurn += 2.0) {
    const double turnStart = twiceTurn * kPi / turns;
    const double leadingStart = stripWidth + turnStart;
    double twiceStep = 0.0;
    for (int step = 0; step < stepsPerTurn; ++step, twiceStep += 2.0) {
      const double tubeAngle = twiceStep * kPi / stepsPerTurn;
      const double cosTube = std::cos(tubeAngle);
      const double sinTube = std::sin(tubeAngle);
      const double rho = ringRadius + tubeRadius * cosTube;  // distance from the ring's axis
      const double y = tubeRadius * sinTube;
      const double alongRing = tubeAngle / turns;
      emit(tubeVertex(leadingStart + alongRing, cosTube, sinTube, rho, y, gradient));
      emit(tubeVertex(alongRing + turnStart, cosTube, sinTube, rho, y, gradient));
    }
  }
  // The closing pair lands on the first pair, on the outer equator; it carries no colour, so
  // the last one set stays in force.
  const double outer = ringRadius + tubeRadius;
  const double cosClosing = std::cos(stripWidth);
  const double sinClosing = std::sin(stripWidth);
  emit(StripVertex{false,
                   {0.0, 0.0, 0.0},
                   {cosClosing, 0.0, sinClosing},
                   {cosClosing * outer, 0.0, sinClosing * outer}});
  emit(StripVertex{false, {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {outer, 0.0, 0.0}});
}
