#include "app/startup.h"

#include <cstdio>

#include "app/callbacks.h"
#include "app/reshape.h"
#include "app/run_loop.h"
#include "app/window_class.h"
#include "app/x_errors.h"
#include "render/glut_headers.h"
#include "scene/scene_state.h"

namespace {

// The double-buffered, depth-buffered window, 620 × 160 at (10, 60) unless GLUT's -geometry
// named a size or a place: glutInit has taken those, and setting ours would undo them.
void openWindow(int* argc, char** argv, const WindowRequest& window) {
  glutInit(argc, argv);
  sayXErrors(window.indirect);
  // The window is the same with --samples: its frames are drawn multisampled elsewhere.
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  if (window.fullscreen) {
    // Without a window manager to take the full-screen request, GLUT moves the window back by
    // its start position, leaving the screen's right and bottom edges bare; from the corner it
    // covers the screen.
    glutInitWindowPosition(0, 0);
  } else if (!window.positionGiven) {
    glutInitWindowPosition(kWindowX, kWindowY);
  }
  if (!window.sizeGiven) {
    glutInitWindowSize(kWindowWidth, kWindowHeight);
  }
  glutCreateWindow(kWindowTitle);
  nameWindowClass();
  if (window.fullscreen) {
    glutFullScreen();  // GLUT's reshape then brings the projection along
  }
  if (window.iconic) {
    // GLUT's own -iconic waits for the window to be mapped, which under a window manager never
    // happens to an iconic window: asked once the window exists, it cannot block.
    glutIconifyWindow();
  }
}

// Culled face, lighting switches and the light colours, in start-up's order.
void initFixedState() {
  glCullFace(GL_BACK);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  // Colour tracking stays at GL's default (ambient and diffuse, both faces), so every glColor
  // call is also the material colour.
  glEnable(GL_COLOR_MATERIAL);
  for (int k = 0; k < kLightCount; ++k) {
    glLightfv(GL_LIGHT0 + k, GL_DIFFUSE, kLights[k].colour);
    glLightfv(GL_LIGHT0 + k, GL_SPECULAR, kLights[k].colour);
  }
}

}  // namespace

void initGraphics() {
  glEnable(GL_DEPTH_TEST);
}

void openViewer(int* argc, char** argv, RunState& run, SceneState& scene,
                const WindowRequest& window) {
  handWindowToRun(run, scene);  // first: Xlib's error handlers may act from glutInit on
  openWindow(argc, argv, window);
  initGraphics();
  // The first projection is in place before GLUT reports the window's size.
  if (window.sizeGiven) {
    onReshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
  } else {
    onReshape(kWindowWidth, kWindowHeight);
  }
  glutKeyboardFunc(onKeyboard);
  glutSpecialFunc(onSpecialKey);
  glutReshapeFunc(onReshape);
  glutMouseFunc(onMouse);
  glutMotionFunc(onMotion);
  initFixedState();
}

void printGlInfo() {
  const struct {
    GLenum name;
    const char* label;
  } kStrings[] = {
      {GL_VENDOR, "GL_VENDOR"}, {GL_RENDERER, "GL_RENDERER"}, {GL_VERSION, "GL_VERSION"}};
  for (const auto& entry : kStrings) {
    const GLubyte* text = glGetString(entry.name);
    std::printf("%s = %s\n", entry.label, text ? reinterpret_cast<const char*>(text) : "?");
  }
}
