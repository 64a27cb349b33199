#include "render/spiral_torus.h"

#include "render/spiral_strip.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {
// Memory for a frame's per-step values; nothing in it outlives the frame that fills it. It is
// file-wide because drawSpiralTorus takes the strip's shape and nothing else, and a steady
// frame allocates nothing: a local would be allocated on every frame.
StripScratch stripScratch;
}  // namespace

void drawSpiralTorus(const SceneState& scene, double tubeRadius, double ringRadius,
                     int stepsPerTurn, int turns) {
  glMaterialf(GL_FRONT, GL_SHININESS, kTorusShininess);
  glMaterialfv(GL_FRONT, GL_SPECULAR, scene.specularOn ? kWhite : kBlack);
  glBegin(scene.stripPrimitive);
  const bool gradient = scene.gradientColour != 0;
  forEachStripVertex(tubeRadius, ringRadius, stepsPerTurn, turns, gradient, stripScratch,
                     [](const StripVertex& v) {
                       if (v.hasColour) {
                         glColor3f(v.colour[0], v.colour[1], v.colour[2]);
                       }
                       glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
                       glVertex3f(v.position[0], v.position[1], v.position[2]);
                     });
  glEnd();
}
