// The strip is checked against the helix it is meant to be, written here from the geometry:
// pair p (p = i·m + j) sits at tube angle 2π·p/m; its trailing vertex at ring angle 2π·p/(n·m)
// and its leading vertex one strip-width, 2π/n, further on. The closing pair is pair n·m.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "render/spiral_strip.h"

namespace {

const double kTruePi = std::acos(-1.0);
const double kTrueTwoPi = 2.0 * kTruePi;
constexpr double kTube = 1.0;
constexpr double kRing = 3.0;
constexpr double kTolerance = 1e-6;

struct Vec3 {
  double x, y, z;
};

Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
double length(Vec3 a) {
  return std::sqrt(dot(a, a));
}
Vec3 position(const StripVertex& v) {
  return {v.position[0], v.position[1], v.position[2]};
}
Vec3 normal(const StripVertex& v) {
  return {v.normal[0], v.normal[1], v.normal[2]};
}

std::vector<StripVertex> strip(int m, int n, bool gradient = false) {
  std::vector<StripVertex> out;
  StripScratch scratch;
  forEachStripVertex(kTube, kRing, m, n, gradient, scratch,
                     [&](const StripVertex& v) { out.push_back(v); });
  return out;
}

Vec3 torusPoint(double ringAngle, double tubeAngle) {
  const double rho = kRing + kTube * std::cos(tubeAngle);
  return {rho * std::cos(ringAngle), kTube * std::sin(tubeAngle), rho * std::sin(ringAngle)};
}

double trailingRingAngle(int pair, int m, int n) {
  return kTrueTwoPi * pair / (n * m);
}
double leadingRingAngle(int pair, int m, int n) {
  return trailingRingAngle(pair, m, n) + kTrueTwoPi / n;
}
double tubeAngle(int pair, int m) {
  return kTrueTwoPi * pair / m;
}

void expectNear(Vec3 actual, Vec3 expected, const char* what, int index) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance) << what << " " << index;
  EXPECT_NEAR(actual.y, expected.y, kTolerance) << what << " " << index;
  EXPECT_NEAR(actual.z, expected.z, kTolerance) << what << " " << index;
}

// Counter-clockwise seen from outside: the polygon's own normal (Newell) points the way the
// surface normals at its corners do.
bool woundCounterClockwiseFromOutside(const std::vector<const StripVertex*>& corners) {
  Vec3 area{0, 0, 0};
  Vec3 outward{0, 0, 0};
  for (size_t k = 0; k < corners.size(); ++k) {
    area = area + cross(position(*corners[k]), position(*corners[(k + 1) % corners.size()]));
    outward = outward + normal(*corners[k]);
  }
  return dot(area, outward) > 0.0;
}

}  // namespace

TEST(SpiralStrip, FirstPairStartsOnTheOuterEquatorAt36And0Degrees) {
  const auto v = strip(8, 10);
  const double deg36 = 36.0 * kTruePi / 180.0;
  expectNear(position(v[0]), {4.0 * std::cos(deg36), 0.0, 4.0 * std::sin(deg36)}, "leading", 0);
  expectNear(position(v[1]), {4.0, 0.0, 0.0}, "trailing", 1);
}

TEST(SpiralStrip, EveryVertexLiesOnTheHelixWithAUnitOutwardNormal) {
  for (auto [m, n] : {std::pair{8, 10}, std::pair{5, 7}, std::pair{13, 4}}) {
    const auto v = strip(m, n);
    for (int pair = 0; pair <= n * m; ++pair) {
      const double tube = tubeAngle(pair, m);
      const double rings[2] = {leadingRingAngle(pair, m, n), trailingRingAngle(pair, m, n)};
      for (int side = 0; side < 2; ++side) {
        const int index = 2 * pair + side;
        expectNear(position(v[index]), torusPoint(rings[side], tube), "position", index);
        const Vec3 tubeCentre{kRing * std::cos(rings[side]), 0.0, kRing * std::sin(rings[side])};
        expectNear(normal(v[index]), position(v[index]) - tubeCentre, "normal", index);
        EXPECT_NEAR(length(normal(v[index])), 1.0, 1e-9) << index;
      }
    }
  }
}

TEST(SpiralStrip, RunsOnFromOneTurnIntoTheNextWithoutAJump) {
  const int m = 8;
  const auto v = strip(m, 10);
  const double step = length(position(v[3]) - position(v[1]));
  for (int turn = 0; turn < 9; ++turn) {
    const int lastOfTurn = turn * m + m - 1;
    for (int side = 0; side < 2; ++side) {
      const Vec3 from = position(v[2 * lastOfTurn + side]);
      const Vec3 to = position(v[2 * (lastOfTurn + 1) + side]);
      EXPECT_NEAR(length(to - from), step, 1e-6) << "turn " << turn << " side " << side;
    }
  }
}

TEST(SpiralStrip, ClosingPairRepeatsTheFirstPair) {
  for (int n : {4, 10, 11}) {
    const auto v = strip(8, n);
    expectNear(position(v[v.size() - 2]), position(v[0]), "closing leading", n);
    expectNear(position(v[v.size() - 1]), position(v[1]), "closing trailing", n);
    expectNear(normal(v[v.size() - 1]), {1.0, 0.0, 0.0}, "closing normal", n);
  }
}

TEST(SpiralStrip, TrianglesAreCounterClockwiseSeenFromOutside) {
  const auto v = strip(8, 10);
  for (size_t k = 0; k + 2 < v.size(); ++k) {
    // GL swaps the first two corners of every odd triangle of a strip to keep one winding.
    std::vector<const StripVertex*> tri = {&v[k], &v[k + 1], &v[k + 2]};
    if (k % 2 == 1) {
      std::swap(tri[0], tri[1]);
    }
    EXPECT_TRUE(woundCounterClockwiseFromOutside(tri)) << "triangle " << k;
  }
}

TEST(SpiralStrip, QuadrilateralsAreCounterClockwiseSeenFromOutside) {
  const auto v = strip(8, 10);
  for (size_t k = 0; 2 * k + 3 < v.size(); ++k) {
    // Quad k of a quad strip has the corners 2k, 2k+1, 2k+3, 2k+2.
    const std::vector<const StripVertex*> quad = {&v[2 * k], &v[2 * k + 1], &v[2 * k + 3],
                                                  &v[2 * k + 2]};
    EXPECT_TRUE(woundCounterClockwiseFromOutside(quad)) << "quad " << k;
  }
}

TEST(SpiralStrip, GradientRunsRedToBlueUnclampedAndSkipsTheClosingPair) {
  const int m = 8;
  const int n = 10;
  const auto v = strip(m, n, true);
  for (int pair = 0; pair < n * m; ++pair) {
    const double lead = leadingRingAngle(pair, m, n) / kTrueTwoPi;
    const double trail = trailingRingAngle(pair, m, n) / kTrueTwoPi;
    ASSERT_TRUE(v[2 * pair].hasColour);
    ASSERT_TRUE(v[2 * pair + 1].hasColour);
    EXPECT_NEAR(v[2 * pair].colour[0], 1.0 - lead, kTolerance);
    EXPECT_NEAR(v[2 * pair].colour[2], lead, kTolerance);
    EXPECT_NEAR(v[2 * pair + 1].colour[0], 1.0 - trail, kTolerance);
    EXPECT_EQ(v[2 * pair].colour[1], 0.0);
  }
  EXPECT_NEAR(v[1].colour[0], 1.0, kTolerance);  // the very first trailing vertex is pure red
  EXPECT_NEAR(v[1].colour[2], 0.0, kTolerance);
  const StripVertex& lastLeading = v[2 * (n * m - 1)];
  EXPECT_NEAR(lastLeading.colour[2], 1.0 + 7.0 / 80.0, kTolerance);
  EXPECT_LT(lastLeading.colour[0], 0.0);
  EXPECT_FALSE(v[v.size() - 2].hasColour);
  EXPECT_FALSE(v[v.size() - 1].hasColour);
}

// Sines and cosines by angle addition stay within 1e-9 (relative, or absolute near zero) of
// the formulas evaluated directly, angle by angle, with the literal pi they are written with.
TEST(SpiralStrip, AngleAdditionMatchesTheFormulasEvaluatedDirectly) {
  constexpr double kBound = 1e-9;
  const auto near = [](double actual, double expected) {
    return std::fabs(actual - expected) <= kBound * std::max(1.0, std::fabs(expected));
  };
  const double pi = 3.14159265359;
  const double twoPi = 6.28318530718;
  for (const auto& [n, m] : {std::pair{10, 8}, {4, 4}, {300, 300}, {4, 2000}}) {
    const std::vector<StripVertex> v = strip(m, n, true);
    ASSERT_EQ(v.size(), 2u * n * m + 2);
    int failures = 0;
    for (int i = 0; i < n; ++i) {
      const double phi = (2 * i) * pi / n;
      for (int j = 0; j < m; ++j) {
        const double theta = (2 * j) * pi / m;
        const double rho = kRing + kTube * std::cos(theta);
        const double rings[2] = {(twoPi / n + phi) + theta / n, theta / n + phi};
        for (int k = 0; k < 2; ++k) {
          const StripVertex& got = v[2 * (i * m + j) + k];
          const double a = rings[k];
          const double expected[] = {std::cos(a) * std::cos(theta),
                                     std::sin(theta),
                                     std::sin(a) * std::cos(theta),
                                     std::cos(a) * rho,
                                     kTube * std::sin(theta),
                                     std::sin(a) * rho,
                                     1 - a / twoPi,
                                     a / twoPi};
          const double actual[] = {got.normal[0],   got.normal[1],   got.normal[2], got.position[0],
                                   got.position[1], got.position[2], got.colour[0], got.colour[2]};
          for (int c = 0; c < 8; ++c) {
            failures += !near(actual[c], expected[c]);
          }
        }
      }
    }
    EXPECT_EQ(failures, 0) << n << " turns of " << m << " steps";
  }
}
