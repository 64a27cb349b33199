// Geometry of the helical torus strip, free of GL so it can be checked on its own.
//
// The strip goes once around the ring while circling the tube `turns` times. Each turn
// advances around the ring by exactly the strip's own width, 1/turns of the circle, so turn i + 1
// lies edge to edge with turn i. Both vertices of a pair sit at the same point of the tube's
// cross-section, one strip-width apart along the ring; the leading one comes first.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// These literals, not full-precision pi: the strip's vertices are defined by them.
inline constexpr double kPi = 3.14159265359;
inline constexpr double kTwoPi = 6.28318530718;

struct StripVertex {
  bool hasColour;
  double colour[3];  // unclamped red-to-blue gradient, when hasColour
  double normal[3];  // unit outward normal of the tube
  double position[3];
};

// The vertex at ring angle `ring`, whose cosine and sine are given, on the tube circle whose
// angle has the given cosine and sine.
inline StripVertex tubeVertex(double ring, double cosRing, double sinRing, double cosTube,
                              double sinTube, double rho, double y, bool gradient) {
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

// What one step along a turn contributes, the same in every turn.
struct StripStep {
  double cosTube, sinTube;    // of the tube angle
  double rho, y;              // distance from the ring's axis, and height
  double alongRing;           // the ring angle the step adds within its turn
  double cosAlong, sinAlong;  // of alongRing
};

// A frame's per-step values. Kept only as memory: it grows when the step count does and is
// refilled on every frame, so a steady frame allocates nothing.
using StripScratch = std::vector<StripStep>;

// Hands the 2 · turns · stepsPerTurn + 2 strip vertices to `emit` in drawing order.
//
// Each ring angle is a per-turn angle plus a per-step one, so the sines and cosines of a frame
// are those of the turns' two start angles (2 · turns) and of the steps' tube and ring angles
// (2 · stepsPerTurn), each computed once, afresh; every vertex's follow by angle addition,
// within a few units in the last place of the direct ones. The angles themselves keep exactly
// the values and grouping the formulas give, which is what the gradient reads. Twice the turn
// and step numbers are counted in double: no int product can overflow.
template <typename Emit>
void forEachStripVertex(double tubeRadius, double ringRadius, int stepsPerTurn, int turns,
                        bool gradient, StripScratch& scratch, Emit&& emit) {
  const double stripWidth = kTwoPi / turns;  // ring angle one turn advances
  scratch.resize(stepsPerTurn > 0 ? static_cast<std::size_t>(stepsPerTurn) : 0);
  double twiceStep = 0.0;
  for (StripStep& step : scratch) {
    const double tubeAngle = twiceStep * kPi / stepsPerTurn;
    step.cosTube = std::cos(tubeAngle);
    step.sinTube = std::sin(tubeAngle);
    step.rho = ringRadius + tubeRadius * step.cosTube;
    step.y = tubeRadius * step.sinTube;
    step.alongRing = tubeAngle / turns;
    step.cosAlong = std::cos(step.alongRing);
    step.sinAlong = std::sin(step.alongRing);
    twiceStep += 2.0;
  }
  double twiceTurn = 0.0;
  for (int turn = 0; turn < turns; ++turn, twiceTurn += 2.0) {
    const double turnStart = twiceTurn * kPi / turns;
    const double leadingStart = stripWidth + turnStart;
    const double cosLeading = std::cos(leadingStart);
    const double sinLeading = std::sin(leadingStart);
    const double cosTrailing = std::cos(turnStart);
    const double sinTrailing = std::sin(turnStart);
    for (const StripStep& s : scratch) {
      emit(tubeVertex(leadingStart + s.alongRing, cosLeading * s.cosAlong - sinLeading * s.sinAlong,
                      sinLeading * s.cosAlong + cosLeading * s.sinAlong, s.cosTube, s.sinTube,
                      s.rho, s.y, gradient));
      emit(tubeVertex(s.alongRing + turnStart, cosTrailing * s.cosAlong - sinTrailing * s.sinAlong,
                      sinTrailing * s.cosAlong + cosTrailing * s.sinAlong, s.cosTube, s.sinTube,
                      s.rho, s.y, gradient));
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
