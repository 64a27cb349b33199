// The frame-rate limit: the same torus strip, computed once and replayed in immediate mode
// with the same GL calls, so a frame costs everything but the strip's own arithmetic. Linked
// in place of the real strip only by the limit benchmark.
#include <vector>

#include "render/spiral_strip.h"
#include "render/spiral_torus.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

struct Vertex {
  bool hasColour;
  GLfloat colour[3];
  GLfloat normal[3];
  GLfloat position[3];
};

struct Strip {
  int m = -1, n = -1;
  bool gradient = false;
  std::vector<Vertex> vertices;
};

const std::vector<Vertex>& strip(double r, double R, int m, int n, bool gradient) {
  static Strip cached;
  if (cached.m != m || cached.n != n || cached.gradient != gradient) {
    cached = Strip{m, n, gradient, {}};
    StripScratch scratch;
    forEachStripVertex(r, R, m, n, gradient, scratch, [](const StripVertex& v) {
      cached.vertices.push_back(
          {v.hasColour,
           {GLfloat(v.colour[0]), GLfloat(v.colour[1]), GLfloat(v.colour[2])},
           {GLfloat(v.normal[0]), GLfloat(v.normal[1]), GLfloat(v.normal[2])},
           {GLfloat(v.position[0]), GLfloat(v.position[1]), GLfloat(v.position[2])}});
    });
  }
  return cached.vertices;
}

}  // namespace

void drawSpiralTorus(const SceneState& scene, double tubeRadius, double ringRadius,
                     int stepsPerTurn, int turns) {
  glMaterialf(GL_FRONT, GL_SHININESS, kTorusShininess);
  glMaterialfv(GL_FRONT, GL_SPECULAR, scene.specularOn ? kWhite : kBlack);
  glBegin(scene.stripPrimitive);
  for (const Vertex& v :
       strip(tubeRadius, ringRadius, stepsPerTurn, turns, scene.gradientColour != 0)) {
    if (v.hasColour) {
      glColor3f(v.colour[0], v.colour[1], v.colour[2]);
    }
    glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
    glVertex3f(v.position[0], v.position[1], v.position[2]);
  }
  glEnd();
}
