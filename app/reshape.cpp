#include "app/reshape.h"

#include "scene/gl_headers.h"

void onReshape(int width, int height) {
  glViewport(0, 0, width, height);
  // A window can be squashed to no height; the projection still needs a finite aspect.
  const int aspectHeight = height == 0 ? 1 : height;
  const float aspect = static_cast<float>(static_cast<double>(width) / aspectHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfViewDegrees, aspect, kNearPlane, kFarPlane);
  // The frame renderer selects the model-view matrix itself on every frame.
}
