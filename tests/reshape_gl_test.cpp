#include <gtest/gtest.h>

#include <cmath>

#include "app/reshape.h"
#include "app/startup.h"
#include "scene/gl_headers.h"
#include "tests/transform.h"

namespace {

class Reshape : public testing::Test {
 protected:
  void TearDown() override { onReshape(kWindowWidth, kWindowHeight); }

  static void expectViewport(int width, int height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
  }

  static void expectProjection(double aspect) {
    const Mat4 expected = perspective(60.0, aspect, 1.0, 30.0);
    GLfloat actual[16];
    glGetFloatv(GL_PROJECTION_MATRIX, actual);
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column)
        EXPECT_NEAR(actual[column * 4 + row], expected.m[row][column], 1e-5)
            << "row " << row << " column " << column;
  }
};

}  // namespace

TEST_F(Reshape, ZeroHeightKeepsTheViewportButProjectsWithHeightOne) {
  onReshape(300, 0);
  expectViewport(300, 0);
  expectProjection(300.0);
}

TEST_F(Reshape, ZeroWidthLeavesAFiniteProjectionAndNoError) {
  while (glGetError() != GL_NO_ERROR) {
  }
  onReshape(0, 160);
  expectViewport(0, 160);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  GLfloat actual[16];
  glGetFloatv(GL_PROJECTION_MATRIX, actual);
  for (GLfloat value : actual) {
    EXPECT_TRUE(std::isfinite(value));
  }
}
