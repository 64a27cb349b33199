#include <gtest/gtest.h>

#include "render/read_back.h"

#include <cstdio>
#include <cstdlib>

#include "render/glut_headers.h"
// glutMainLoopEvent: the tests pump events themselves instead of entering the main loop.
#include <GL/freeglut_ext.h>
#include <GL/glx.h>

#include "app/startup.h"
#include "tests/gl_window.h"

namespace {
void ignoreRedisplay() {}
}  // namespace

RunState run;
SceneState scene;

void resetScene() {
  scene = SceneState{};
  scene.animate = 0;
}

void pumpEvents() {
  for (int i = 0; i < 10; ++i) {
    glutMainLoopEvent();
  }
}

std::vector<unsigned char> shownImage() {
  glFinish();
  // Mesa's software rasteriser cannot read an X window's front buffer back (it reads as black);
  // its swap copies the back buffer to the window and leaves the back buffer intact.
  glReadBuffer(GL_BACK);
  return readBack(kWindowWidth, kWindowHeight, GL_RGB);
}

Rgb shownPixel(int x, int y) {
  const std::vector<unsigned char> rgb = shownImage();
  const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * kWindowWidth + x) * 3];
  return {p[0], p[1], p[2]};
}

std::string windowTitle() {
  char* name = nullptr;
  XFetchName(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &name);
  const std::string title = name != nullptr ? name : "";
  XFree(name);
  return title;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests)) {
    return RUN_ALL_TESTS();
  }
  // These tests need a real window: no display is a failure, never a silent skip.
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    std::fprintf(stderr, "GL tests need an X display; run them under xvfb-run.\n");
    return 1;
  }
  openViewer(&argc, argv, run, scene);
  glutDisplayFunc(ignoreRedisplay);
  pumpEvents();
  return RUN_ALL_TESTS();
}
