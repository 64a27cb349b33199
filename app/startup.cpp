#include "app/startup.h"

#include "app/gl_headers.h"
#include "app/scene_state.h"

void openViewerWindow(int* argc, char** argv) {
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowPosition(kWindowX, kWindowY);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutCreateWindow(kWindowTitle);
}

void initGraphics() {
  glEnable(GL_DEPTH_TEST);
}

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
