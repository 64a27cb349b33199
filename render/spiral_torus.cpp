#include "render/spiral_torus.h"

#include "app/gl_headers.h"
#include "app/scene_state.h"
#include "render/spiral_strip.h"

void drawSpiralTorus(double r, double R, int m, int n) {
  glMaterialf(GL_FRONT, GL_SHININESS, kTorusShininess);
  glMaterialfv(GL_FRONT, GL_SPECULAR, scene.specularOn ? kWhite : kBlack);
  glBegin(scene.stripPrimitive);
  forEachStripVertex(r, R, m, n, scene.gradientColour != 0, [](const StripVertex& v) {
    if (v.hasColour) {
      glColor3f(v.colour[0], v.colour[1], v.colour[2]);
    }
    glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
    glVertex3f(v.position[0], v.position[1], v.position[2]);
  });
  glEnd();
}
