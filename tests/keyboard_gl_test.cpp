// Which keys draw a frame at once: with the animation on, such a frame also moves the lights.
#include <gtest/gtest.h>

#include <string>

#include "app/gl_headers.h"
#include "input/keyboard.h"
#include "tests/gl_window.h"

namespace {

// Keys that redraw at once; every other key leaves its change to the next idle frame.
const std::string kDrawingKeys = "012345srLlieEcoxXzZ";

// A frame always re-issues the polygon mode, so a mode no frame sets shows whether one ran.
void markUndrawn() {
  glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
}

bool frameWasDrawn() {
  GLint mode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  return mode[0] != GL_POINT;
}

}  // namespace

TEST(KeyFrames, KeysInTheDrawingSetDrawAFrameAtOnceAndNoOtherKeyDoes) {
  for (int code = 0; code < 256; ++code) {
    if (code == 27)
      continue;  // Escape ends the process
    const auto key = static_cast<unsigned char>(code);
    resetScene();
    scene.animate = 1;
    markUndrawn();
    onKeyboard(key, 0, 0);
    const bool drawing = kDrawingKeys.find(static_cast<char>(key)) != std::string::npos;
    EXPECT_EQ(frameWasDrawn(), drawing) << "key '" << key << "'";
    // A drawn frame with the animation still on is an ordinary animated frame.
    const float expectedAngle = drawing && scene.animate ? 3.0f : 0.0f;
    EXPECT_EQ(scene.lightAngle[0], expectedAngle) << "key '" << key << "'";
  }
  resetScene();
}

TEST(KeyFrames, ArrowKeysNeverDrawAFrame) {
  for (int code : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN, GLUT_KEY_F1}) {
    resetScene();
    scene.animate = 1;
    markUndrawn();
    onSpecialKey(code, 0, 0);
    EXPECT_FALSE(frameWasDrawn()) << code;
    EXPECT_EQ(scene.lightAngle[0], 0.0f);
  }
  resetScene();
}
