// What the readout of --hud says of the scene; how it looks is checked on real pictures in
// viewer_e2e_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/keyboard.h"
#include "run/readout.h"
#include "scene/gl_headers.h"

TEST(Readout, NamesWhatTheKeysSet) {
  SceneState state;
  const HudFigures figures{41, -1.0, ""};
  const std::vector<std::string> before = readoutLines(state, figures);
  for (const char key : std::string("pfeqlLc3W")) {
    applyKey(state, static_cast<unsigned char>(key));
  }
  applySpecialKey(state, GLUT_KEY_LEFT);
  const std::vector<std::string> after = readoutLines(state, figures);
  const std::vector<std::string> expected = {
      "f smooth", "p filled",   "q quads",  "L unlit",   "l local",  "i shiny",
      "e mapped", "E modulate", "c culled", "o plain",   "a moving", "turns 11",
      "steps 8",  "spin 0 -1",  "view 0 0", "1 2 3 4 5", "frame 41"};
  EXPECT_EQ(after, expected);
  EXPECT_NE(before, after);
  EXPECT_EQ(readoutLines(state, HudFigures{1, 59.94, ""}).back(), "fps 59.9");
  // Stepping through several maps, the figures name the one shown, above the rate.
  const std::vector<std::string> paging = readoutLines(state, HudFigures{1, 59.94, "brass.png"});
  EXPECT_EQ(std::vector<std::string>(paging.end() - 2, paging.end()),
            std::vector<std::string>({"map brass.png", "fps 59.9"}));
}
