#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/gl_headers.h"
#include "app/startup.h"
#include "render/frame.h"
#include "tests/gl_window.h"
#include "tests/transform.h"

namespace {

class Frame : public testing::Test {
 protected:
  void SetUp() override { resetScene(); }
  void TearDown() override { resetScene(); }
};

bool enabled(GLenum capability) {
  return glIsEnabled(capability) == GL_TRUE;
}

// The viewer's fixed camera, with the view angles at 0: nine units back, tilted down 25°.
Mat4 camera() {
  return translation(0, 0, -9) * rotation(25, 1, 0, 0);
}

Mat4 lightFrame(int k, double angle) {
  const LightSpec& light = kLights[k];
  return camera() * rotation(angle, light.axis[0], light.axis[1], light.axis[2]) *
         translation(light.offset[0], light.offset[1], light.offset[2]);
}

void expectLightPosition(int k, const Vec4& expected) {
  GLfloat actual[4];
  glGetLightfv(GL_LIGHT0 + k, GL_POSITION, actual);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(actual[i], expected[i], 1e-4) << "light " << k << " component " << i;
  }
}

void expectMaterial(GLenum which, const GLfloat (&expected)[4]) {
  GLfloat actual[4];
  glGetMaterialfv(GL_FRONT, which, actual);
  for (int i = 0; i < 4; ++i)
    EXPECT_FLOAT_EQ(actual[i], expected[i]) << i;
}

struct WindowPoint {
  int x, y;
};

// Where a point of the torus's frame lands in the window, with no spin and no view rotation.
WindowPoint project(double x, double y, double z) {
  const Vec4 clip = perspective(60.0, 620.0 / 160.0, 1.0, 30.0) * camera() * Vec4{x, y, z, 1.0};
  return {static_cast<int>((clip[0] / clip[3] + 1.0) * 0.5 * kWindowWidth),
          static_cast<int>((clip[1] / clip[3] + 1.0) * 0.5 * kWindowHeight)};
}

void expectColourNear(Rgb actual, Rgb expected, const char* what) {
  EXPECT_LE(std::abs(actual.r - expected.r), 3) << what;
  EXPECT_LE(std::abs(actual.g - expected.g), 3) << what;
  EXPECT_LE(std::abs(actual.b - expected.b), 3) << what;
}

}  // namespace

TEST_F(Frame, EndsWithLightingAndTexturingOff) {
  scene.envMapOn = 1;
  renderFrame();
  EXPECT_FALSE(enabled(GL_LIGHTING));
  EXPECT_FALSE(enabled(GL_TEXTURE_2D));
  EXPECT_FALSE(enabled(GL_TEXTURE_GEN_S));
  EXPECT_FALSE(enabled(GL_TEXTURE_GEN_T));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(Frame, StartsFlatAndWireFrameAndFollowsTheState) {
  renderFrame();
  GLint shade = 0;
  GLint polygon[2] = {0, 0};
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  glGetIntegerv(GL_POLYGON_MODE, polygon);
  EXPECT_EQ(shade, GL_FLAT);
  EXPECT_EQ(polygon[0], GL_LINE);
  EXPECT_EQ(polygon[1], GL_LINE);
  EXPECT_FALSE(enabled(GL_CULL_FACE));

  scene.shadeModel = GL_SMOOTH;
  scene.polygonMode = GL_FILL;
  scene.cullFaces = 1;
  scene.localViewer = 1;
  renderFrame();
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  glGetIntegerv(GL_POLYGON_MODE, polygon);
  EXPECT_EQ(shade, GL_SMOOTH);
  EXPECT_EQ(polygon[0], GL_FILL);
  EXPECT_EQ(polygon[1], GL_FILL);
  EXPECT_TRUE(enabled(GL_CULL_FACE));
  GLint localViewer = 0;
  glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
  EXPECT_EQ(localViewer, 1);
}

TEST_F(Frame, LeavesTheTorusMaterialAndNoGlow) {
  renderFrame();
  expectMaterial(GL_EMISSION, kBlack);
  expectMaterial(GL_SPECULAR, kWhite);
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_FLOAT_EQ(shininess, 80.0f);

  scene.specularOn = 0;
  renderFrame();
  expectMaterial(GL_SPECULAR, kBlack);
}

TEST_F(Frame, PlacesEachLightAtItsSphere) {
  const float angles[kLightCount] = {30.0f, -90.0f, 200.0f, 0.0f, 45.0f};
  for (int k = 0; k < kLightCount; ++k)
    scene.lightAngle[k] = angles[k];
  renderFrame();
  for (int k = 0; k < kLightCount; ++k) {
    EXPECT_TRUE(enabled(GL_LIGHT0 + k));
    expectLightPosition(k, lightFrame(k, angles[k]) * Vec4{0, 0, 0, 1});
  }
}

TEST_F(Frame, LocalViewerMakesEveryLightDirectionalAlongItsFrameX) {
  const float angles[kLightCount] = {120.0f, -35.0f, 10.0f, 0.0f, 300.0f};
  for (int k = 0; k < kLightCount; ++k)
    scene.lightAngle[k] = angles[k];
  scene.localViewer = 1;
  renderFrame();
  for (int k = 0; k < kLightCount; ++k) {
    expectLightPosition(k, lightFrame(k, angles[k]) * Vec4{1, 0, 0, 0});
  }
}

TEST_F(Frame, ALightSwitchedOffIsDisabledAndKeepsItsLastPosition) {
  scene.lightAngle[2] = 200.0f;
  renderFrame();
  const Vec4 placed = lightFrame(2, 200.0) * Vec4{0, 0, 0, 1};
  scene.lightOn[2] = 0;
  scene.lightAngle[2] = 10.0f;
  renderFrame();
  EXPECT_FALSE(enabled(GL_LIGHT2));
  EXPECT_TRUE(enabled(GL_LIGHT1));
  expectLightPosition(2, placed);
}

TEST_F(Frame, AnimatesOneStepPerFrameOnlyWhileAnimateIsOn) {
  scene.spinRateX = 4;
  scene.spinRateY = -3;
  renderFrame();
  renderFrame();
  EXPECT_EQ(scene.spinX, 0);
  EXPECT_EQ(scene.lightAngle[0], 0.0f);

  scene.animate = 1;
  renderFrame();
  renderFrame();
  EXPECT_EQ(scene.spinX, 8);
  EXPECT_EQ(scene.spinY, -6);
  EXPECT_EQ(scene.lightAngle[0], 6.0f);
  EXPECT_EQ(scene.lightAngle[1], -14.0f);
  EXPECT_EQ(scene.lightAngle[3], 0.0f);
}

TEST_F(Frame, MarkerTurnsWithTheTorusSpinJustOutsideItsEdge) {
  scene.spinX = 600;   // 30 degrees
  scene.spinY = -900;  // -45 degrees
  renderFrame();
  const Mat4 expected = camera() * rotation(30, 1, 0, 0) * rotation(-45, 0, 1, 0) *
                        translation(-4.3, 0, 0) * scaling(0.2);
  GLfloat actual[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, actual);
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(actual[column * 4 + row], expected.m[row][column], 1e-5);
}

TEST_F(Frame, FilledUnlitTorusShowsItsBaseColourAndTheMarkerIsYellow) {
  scene.polygonMode = GL_FILL;
  scene.lightingOn = 0;
  renderFrame();
  // On the near side of the tube, halfway up; and the centre of the marker.
  const double halfUp = std::sqrt(0.5);
  const WindowPoint torus = project(0.0, halfUp, 3.0 + halfUp);
  const WindowPoint marker = project(-4.3, 0.07, 0.0);
  expectColourNear(shownPixel(torus.x, torus.y), {230, 26, 102}, "torus");
  expectColourNear(shownPixel(marker.x, marker.y), {255, 255, 0}, "marker");
  expectColourNear(shownPixel(2, 2), {0, 0, 0}, "corner");
}

TEST_F(Frame, WireFrameTorusShowsTheBackgroundThroughItsHole) {
  renderFrame();
  const WindowPoint hole = project(0.0, 0.0, 0.0);
  for (int dx = -2; dx <= 2; ++dx)
    for (int dy = -2; dy <= 2; ++dy)
      expectColourNear(shownPixel(hole.x + dx, hole.y + dy), {0, 0, 0}, "hole");
  // Fill the same view: the torus, not the background, sits on the tube's near side.
  scene.polygonMode = GL_FILL;
  renderFrame();
  const double halfUp = std::sqrt(0.5);
  const WindowPoint tube = project(0.0, halfUp, 3.0 + halfUp);
  const Rgb lit = shownPixel(tube.x, tube.y);
  EXPECT_GT(lit.r + lit.g + lit.b, 30);
}
