#include "app/startup.h"

#include "app/callbacks.h"
#include "app/reshape.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

// The double-buffered, depth-buffered window.
void openWindow(int* argc, char** argv) {
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowPosition(kWindowX, kWindowY);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutCreateWindow(kWindowTitle);
}

// Culled face, lighting switches and the light colours: set once, never touched per frame.
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

void openViewer(int* argc, char** argv) {
  openWindow(argc, argv);
  initGraphics();
  // The first projection is in place before GLUT reports the window's size.
  onReshape(kWindowWidth, kWindowHeight);
  glutKeyboardFunc(onKeyboard);
  glutSpecialFunc(onSpecialKey);
  glutReshapeFunc(onReshape);
  glutMouseFunc(onMouse);
  glutMotionFunc(onMotion);
  initFixedState();
}
