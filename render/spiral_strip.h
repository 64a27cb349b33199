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

// An angle's cosine and sine, made together from the angle so that they cannot change places.
struct CosSin {
  double cos, sin;
};

inline CosSin cosSinOf(double angle) {
  return {std::cos(angle), std::sin(angle)};
}

// The cosine and sine of a + b, by angle addition.
inline CosSin angleSum(CosSin a, CosSin b) {
  return {a.cos * b.cos - a.sin * b.sin, a.sin * b.cos + a.cos * b.sin};
}

// What one step along a turn contributes, the same in every turn.
struct StripStep {
  CosSin tube;       // of the tube angle
  double rho, y;     // distance from the ring's axis, and height
  double alongRing;  // the ring angle the step adds within its turn
  CosSin along;      // of alongRing
};

// The vertex of `step` at ring angle `ring`, whose cosine and sine are `ringAngle`.
inline StripVertex tubeVertex(double ring, CosSin ringAngle, const StripStep& step, bool gradient) {
  StripVertex v{gradient,
                {0.0, 0.0, 0.0},
                {ringAngle.cos * step.tube.cos, step.tube.sin, ringAngle.sin * step.tube.cos},
                {ringAngle.cos * step.rho, step.y, ringAngle.sin * step.rho}};
  if (gradient) {
    const double c = ring / kTwoPi;
    v.colour[0] = 1.0 - c;
    v.colour[2] = c;
  }
  return v;
}

// A frame's per-step values. Kept only as memory: it grows when the step count does and is
// refilled on every frame, so a steady frame allocates nothing.
using StripScratch = std::vector<StripStep>;

// The steps of a turn, into `scratch`. Twice the step number is counted in double: no int
// product can overflow.
inline void fillStripSteps(double tubeRadius, double ringRadius, int stepsPerTurn, int turns,
                           StripScratch& scratch) {
  scratch.resize(stepsPerTurn > 0 ? static_cast<std::size_t>(stepsPerTurn) : 0);
  double twiceStep = 0.0;
  for (StripStep& step : scratch) {
    const double tubeAngle = twiceStep * kPi / stepsPerTurn;
    step.tube = cosSinOf(tubeAngle);
    step.rho = ringRadius + tubeRadius * step.tube.cos;
    step.y = tubeRadius * step.tube.sin;
    step.alongRing = tubeAngle / turns;
    step.along = cosSinOf(step.alongRing);
    twiceStep += 2.0;
  }
}

// The closing pair lands on the first pair, on the outer equator; it carries no colour, so the
// last one set stays in force.
template <typename Emit>
void emitClosingPair(double outer, double stripWidth, Emit&& emit) {
  const CosSin closing = cosSinOf(stripWidth);
  emit(StripVertex{false,
                   {0.0, 0.0, 0.0},
                   {closing.cos, 0.0, closing.sin},
                   {closing.cos * outer, 0.0, closing.sin * outer}});
  emit(StripVertex{false, {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {outer, 0.0, 0.0}});
}

// Hands the 2 · turns · stepsPerTurn + 2 strip vertices to `emit` in drawing order.
//
// Each ring angle is a per-turn angle plus a per-step one, so the sines and cosines of a frame
// are those of the turns' two start angles (2 · turns) and of the steps' tube and ring angles
// (2 · stepsPerTurn), each computed once, afresh; every vertex's follow by angle addition,
// within a few units in the last place of the direct ones. The angles themselves keep exactly
// the values and grouping the formulas give, which is what the gradient reads. Twice the turn
// number is counted in double: no int product can overflow.
template <typename Emit>
void forEachStripVertex(double tubeRadius, double ringRadius, int stepsPerTurn, int turns,
                        bool gradient, StripScratch& scratch, Emit&& emit) {
  const double stripWidth = kTwoPi / turns;  // ring angle one turn advances
  fillStripSteps(tubeRadius, ringRadius, stepsPerTurn, turns, scratch);
  double twiceTurn = 0.0;
  for (int turn = 0; turn < turns; ++turn, twiceTurn += 2.0) {
    const double turnStart = twiceTurn * kPi / turns;
    const double leadingStart = stripWidth + turnStart;
    const CosSin leading = cosSinOf(leadingStart);
    const CosSin trailing = cosSinOf(turnStart);
    for (const StripStep& s : scratch) {
      emit(tubeVertex(leadingStart + s.alongRing, angleSum(leading, s.along), s, gradient));
      emit(tubeVertex(s.alongRing + turnStart, angleSum(trailing, s.along), s, gradient));
    }
  }
  emitClosingPair(ringRadius + tubeRadius, stripWidth, emit);
}
