// Counts and angles that keys change: floors, and wrapping by defined arithmetic. What each
// key does to a frame is checked call by call in call_stream_gl_test.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "input/keyboard.h"
#include "render/hud.h"
#include "scene/gl_headers.h"

TEST(Keys, TurnAndStepCountsStopAtFourButHaveNoCeiling) {
  SceneState state;
  state.turnCount = 5;
  state.stepsPerTurn = 5;
  for (int press = 0; press < 3; ++press) {
    applyKey(state, 'w');
    applyKey(state, 'n');
  }
  EXPECT_EQ(state.turnCount, 4);
  EXPECT_EQ(state.stepsPerTurn, 4);

  state.turnCount = 100000;
  applyKey(state, 'W');
  EXPECT_EQ(state.turnCount, 100001);
  // Past the int32 range the counters wrap by defined arithmetic instead of overflowing.
  state.turnCount = std::numeric_limits<std::int32_t>::max();
  state.stepsPerTurn = std::numeric_limits<std::int32_t>::max();
  applyKey(state, 'W');
  applyKey(state, 'N');
  EXPECT_EQ(state.turnCount, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(state.stepsPerTurn, std::numeric_limits<std::int32_t>::min());
}

TEST(Keys, RatesAndViewAnglesWrapAtTheEndsOfInt32) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  SceneState state;
  state.spinRateX = kMax;
  state.spinRateY = kMin;
  state.viewTiltX = kMin;
  state.viewTurnY = kMax;
  applySpecialKey(state, GLUT_KEY_UP);
  applySpecialKey(state, GLUT_KEY_LEFT);
  applyKey(state, 'X');
  applyKey(state, 'z');
  EXPECT_EQ(state.spinRateX, kMin);
  EXPECT_EQ(state.spinRateY, kMax);
  EXPECT_EQ(state.viewTiltX, kMax);
  EXPECT_EQ(state.viewTurnY, kMin);

  state.spinX = kMax;
  state.spinRateX = 1;
  applyKey(state, 's');
  EXPECT_EQ(state.spinX, kMin);
}

TEST(Keys, TheReadoutNamesWhatTheKeysSet) {
  SceneState state;
  const HudFigures figures{41, -1.0};
  const std::vector<std::string> before = hudLines(state, figures);
  for (const char key : std::string("pfeqlLc3W")) {
    applyKey(state, static_cast<unsigned char>(key));
  }
  applySpecialKey(state, GLUT_KEY_LEFT);
  const std::vector<std::string> after = hudLines(state, figures);
  const std::vector<std::string> expected = {
      "f smooth", "p filled",   "q quads",  "L unlit",   "l local",  "i shiny",
      "e mapped", "E modulate", "c culled", "o plain",   "a moving", "turns 11",
      "steps 8",  "spin 0 -1",  "view 0 0", "1 2 3 4 5", "frame 41"};
  EXPECT_EQ(after, expected);
  EXPECT_NE(before, after);
  EXPECT_EQ(hudLines(state, HudFigures{1, 59.94}).back(), "fps 59.9");
}
