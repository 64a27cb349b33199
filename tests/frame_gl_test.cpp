#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/startup.h"
#include "render/frame.h"
#include "render/framebuffer.h"
#include "render/glut_headers.h"
#include "render/smooth_edges.h"
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

// In eye space, as GL keeps them: at the sphere's centre, or (local viewer) along its frame's X.
TEST_F(Frame, EachLightSitsAtItsSphereOrShinesAlongItsFrame) {
  const float angles[kLightCount] = {30.0f, -90.0f, 200.0f, 0.0f, 45.0f};
  for (int localViewer : {0, 1}) {
    scene.localViewer = localViewer;
    for (int k = 0; k < kLightCount; ++k)
      scene.lightAngle[k] = angles[k] + 100.0f * localViewer;
    renderFrame(scene);
    for (int k = 0; k < kLightCount; ++k) {
      EXPECT_TRUE(enabled(GL_LIGHT0 + k));
      const Vec4 where = localViewer ? Vec4{1, 0, 0, 0} : Vec4{0, 0, 0, 1};
      expectLightPosition(k, lightFrame(k, scene.lightAngle[k]) * where);
    }
  }
}

TEST_F(Frame, FilledUnlitTorusShowsItsBaseColourAndTheMarkerIsYellow) {
  scene.polygonMode = GL_FILL;
  scene.lightingOn = 0;
  renderFrame(scene);
  // On the near side of the tube, halfway up; and the centre of the marker.
  const double halfUp = std::sqrt(0.5);
  const WindowPoint torus = project(0.0, halfUp, 3.0 + halfUp);
  const WindowPoint marker = project(-4.3, 0.07, 0.0);
  expectColourNear(shownPixel(torus.x, torus.y), {230, 26, 102}, "torus");
  expectColourNear(shownPixel(marker.x, marker.y), {255, 255, 0}, "marker");
  expectColourNear(shownPixel(2, 2), {0, 0, 0}, "corner");
}

TEST_F(Frame, WireFrameTorusShowsTheBackgroundThroughItsHole) {
  renderFrame(scene);
  const WindowPoint hole = project(0.0, 0.0, 0.0);
  for (int dx = -2; dx <= 2; ++dx)
    for (int dy = -2; dy <= 2; ++dy)
      expectColourNear(shownPixel(hole.x + dx, hole.y + dy), {0, 0, 0}, "hole");
  // Fill the same view: the torus, not the background, sits on the tube's near side.
  scene.polygonMode = GL_FILL;
  renderFrame(scene);
  const double halfUp = std::sqrt(0.5);
  const WindowPoint tube = project(0.0, halfUp, 3.0 + halfUp);
  const Rgb lit = shownPixel(tube.x, tube.y);
  EXPECT_GT(lit.r + lit.g + lit.b, 30);
}

// The sample counts GL can give a colour buffer like the smoothing one, fewest first.
std::vector<int> sampleCountsOffered() {
  const auto query =
      reinterpret_cast<PFNGLGETINTERNALFORMATIVPROC>(glutGetProcAddress("glGetInternalformativ"));
  GLint count = 0;
  if (query != nullptr) {
    query(GL_RENDERBUFFER, GL_RGBA8, GL_NUM_SAMPLE_COUNTS, 1, &count);
  }
  std::vector<GLint> counts(static_cast<std::size_t>(std::max(count, 0)));
  if (count > 0) {
    query(GL_RENDERBUFFER, GL_RGBA8, GL_SAMPLES, count, counts.data());
  }
  std::sort(counts.begin(), counts.end());
  return std::vector<int>(counts.begin(), counts.end());
}

// --samples N draws with the fewest samples a pixel GL offers from N up (N itself where GL has
// it), and with GL's most past them; whenever that is not N, it says what it asked and got.
TEST_F(Frame, SmoothEdgesDrawWithTheSamplesAskedAndSayWhatGlGivesInstead) {
  const std::vector<int> offered = sampleCountsOffered();
  ASSERT_FALSE(offered.empty()) << "this GL does not say which sample counts it offers";
  ASSERT_TRUE(haveFramebuffers(run.window.lookUp));
  const int most = maxFramebufferSamples();
  SmoothEdges smooth;
  for (int asked = 2; asked <= 16; ++asked) {
    SCOPED_TRACE("asked " + std::to_string(asked));
    const std::string said = startSmoothEdges(smooth, asked, run.window.lookUp);
    beginSmoothFrame(smooth);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    endSmoothFrame(smooth);
    const auto fewest = std::lower_bound(offered.begin(), offered.end(), asked);
    EXPECT_EQ(samples, fewest == offered.end() ? most : *fewest);
    const std::string given = " samples a pixel; drawing with " + std::to_string(samples);
    EXPECT_EQ(said, asked > most       ? "this GL offers at most " + std::to_string(most) + given
                    : samples != asked ? "this GL offers no " + std::to_string(asked) + given
                                       : "");
  }
}
