#include "render/pixel_space.h"

#include "scene/gl_headers.h"

void beginOverlay(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void endOverlay() {
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
}
