#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "scene/animation.h"
#include "scene/wrapping.h"

namespace {
constexpr int kFrames = 5000;
}

TEST(Animation, LightAnglesFollowTheirRatesAndStayWithinOneTurn) {
  SceneState state;
  for (int frame = 1; frame <= kFrames; ++frame) {
    advanceAnimation(state);
    ASSERT_GE(state.lightAngle[0], 0.0f);
    ASSERT_LT(state.lightAngle[0], 360.0f);
    ASSERT_GT(state.lightAngle[1], -360.0f);
    ASSERT_LE(state.lightAngle[1], 0.0f);
    ASSERT_EQ(state.lightAngle[3], 0.0f);
    // Whole-degree rates keep the angles exact, so they match modular arithmetic exactly.
    ASSERT_EQ(state.lightAngle[0], static_cast<float>((3 * frame) % 360)) << frame;
    ASSERT_EQ(state.lightAngle[1], static_cast<float>(-((7 * frame) % 360))) << frame;
    ASSERT_EQ(state.lightAngle[2], static_cast<float>(frame % 360)) << frame;
    ASSERT_EQ(state.lightAngle[4], static_cast<float>((5 * frame) % 360)) << frame;
  }
}

TEST(Animation, LightAngleFoldsByWholeTurnsTowardZero) {
  EXPECT_EQ(advanceLightAngle(359.0f, 3.0), 2.0f);
  EXPECT_EQ(advanceLightAngle(357.0f, 3.0), 0.0f);
  EXPECT_EQ(advanceLightAngle(-355.0f, -7.0), -2.0f);
  EXPECT_EQ(advanceLightAngle(-353.0f, -7.0), 0.0f);
  EXPECT_EQ(advanceLightAngle(359.5f, 1.0), 0.5f);
}

TEST(Animation, SpinMovesByTheRatesEachFrame) {
  SceneState state;
  state.spinRateX = 3;
  state.spinRateY = -2;
  for (int frame = 0; frame < 100; ++frame) {
    advanceAnimation(state);
  }
  EXPECT_EQ(state.spinX, 300);
  EXPECT_EQ(state.spinY, -200);
}

TEST(Animation, SpinWrapsAroundAtTheEndsOfInt32) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  SceneState state;
  state.spinX = kMax;
  state.spinRateX = 1;
  state.spinY = kMin;
  state.spinRateY = -1;
  advanceAnimation(state);
  EXPECT_EQ(state.spinX, kMin);
  EXPECT_EQ(state.spinY, kMax);
  EXPECT_EQ(wrappingAdd(kMax, kMax), -2);
  EXPECT_EQ(wrappingAdd(kMin, kMin), 0);
}
