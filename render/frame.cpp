#include "render/frame.h"

#include <cmath>

#include "render/glut_headers.h"
#include "render/spiral_torus.h"
#include "scene/animation.h"
#include "scene/scene_state.h"

namespace {

// A positional light at the centre of its sphere, or (local viewer) a directional one arriving
// from the +X direction of the sphere's frame.
constexpr GLfloat kLightAtOrigin[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat kLightAlongX[4] = {1.0f, 0.0f, 0.0f, 0.0f};

constexpr GLfloat kCameraDistance = 9.0f;
constexpr GLfloat kCameraTiltDegrees = 25.0f;

constexpr double kLightSphereRadius = 0.5;
constexpr int kLightSphereSlices = 10;
constexpr int kLightSphereStacks = 10;

constexpr GLfloat kTorusColour[3] = {0.9f, 0.1f, 0.4f};
constexpr GLfloat kMarkerColour[3] = {1.0f, 1.0f, 0.0f};
constexpr double kMarkerGap = 0.3;  // from the torus's outer edge to the marker's origin
constexpr GLfloat kMarkerScale = 0.2f;

void setEnabled(GLenum capability, std::int32_t flag) {
  if (flag) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

void applyDisplayFlags(const SceneState& scene) {
  setEnabled(GL_CULL_FACE, scene.cullFaces);
  setEnabled(GL_LIGHTING, scene.lightingOn);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, scene.localViewer ? 1 : 0);
  for (int k = 0; k < kLightCount; ++k) {
    setEnabled(GL_LIGHT0 + k, scene.lightOn[k]);
  }
  glShadeModel(scene.shadeModel);
}

void placeCamera(const SceneState& scene) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kCameraDistance);
  glRotatef(kCameraTiltDegrees, 1.0f, 0.0f, 0.0f);
  glRotatef(static_cast<GLfloat>(scene.viewTurnY), 0.0f, 1.0f, 0.0f);
  glRotatef(static_cast<GLfloat>(scene.viewTiltX), 1.0f, 0.0f, 0.0f);
}

// Each light that is on is placed at its sphere and the sphere drawn glowing in its colour.
// A light that is off keeps the position it was last given.
void drawLights(const SceneState& scene) {
  for (int k = 0; k < kLightCount; ++k) {
    if (!scene.lightOn[k]) {
      continue;
    }
    const LightSpec& light = kLights[k];
    glPushMatrix();
    glRotatef(scene.lightAngle[k], light.axis[0], light.axis[1], light.axis[2]);
    glTranslatef(light.offset[0], light.offset[1], light.offset[2]);
    glLightfv(GL_LIGHT0 + k, GL_POSITION, scene.localViewer ? kLightAlongX : kLightAtOrigin);
    glColor3fv(light.colour);
    glMaterialfv(GL_FRONT, GL_EMISSION, light.colour);
    glutSolidSphere(kLightSphereRadius, kLightSphereSlices, kLightSphereStacks);
    glPopMatrix();
  }
  glMaterialfv(GL_FRONT, GL_EMISSION, kBlack);
}

// The spin stays on the matrix for the torus and the marker, not for the lights.
void applySpin(const SceneState& scene) {
  glRotatef(static_cast<GLfloat>(scene.spinX * kSpinUnitDegrees), 1.0f, 0.0f, 0.0f);
  glRotatef(static_cast<GLfloat>(scene.spinY * kSpinUnitDegrees), 0.0f, 1.0f, 0.0f);
}

void applyEnvironmentMap(const SceneState& scene) {
  if (!scene.envMapOn) {
    glDisable(GL_TEXTURE_2D);
    return;
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, scene.envTexture);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, scene.modulateTexture ? GL_MODULATE : GL_DECAL);
  // The texture's parameters live here and nowhere else, so they are set on every such frame.
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

void drawTorus(const SceneState& scene) {
  glPushMatrix();
  glColor3f(kTorusColour[0], kTorusColour[1], kTorusColour[2]);
  drawSpiralTorus(scene, scene.tubeRadius, scene.majorRadius, scene.stepsPerTurn, scene.turnCount);
  glPopMatrix();
}

// Whatever the flags say, the marker and the next frame's start see no texturing or lighting.
void endTorusPass() {
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
}

}  // namespace

void drawTetraMarker(const SceneState& scene) {
  const double offset = -static_cast<double>(scene.majorRadius) - scene.tubeRadius - kMarkerGap;
  glTranslatef(static_cast<GLfloat>(offset), 0.0f, 0.0f);
  glScalef(kMarkerScale, kMarkerScale, kMarkerScale);
  glColor3f(kMarkerColour[0], kMarkerColour[1], kMarkerColour[2]);
  // A regular tetrahedron of edge sqrt(3): base corners at 0, 120 and 240 degrees on the unit
  // circle in the XZ plane, apex at height sqrt(2). Six strip vertices give its four faces,
  // each wound counter-clockwise seen from outside.
  const double baseZ = std::sqrt(3.0) * 0.5;
  const double apexY = std::sqrt(2.0);
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3f(-0.5f, 0.0f, static_cast<GLfloat>(baseZ));
  glVertex3f(-0.5f, 0.0f, static_cast<GLfloat>(-baseZ));
  glVertex3f(1.0f, 0.0f, 0.0f);
  glVertex3f(0.0f, static_cast<GLfloat>(apexY), 0.0f);
  glVertex3f(-0.5f, 0.0f, static_cast<GLfloat>(baseZ));
  glVertex3f(-0.5f, 0.0f, static_cast<GLfloat>(-baseZ));
  glEnd();
}

void drawScene(SceneState& scene) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, scene.polygonMode);
  if (scene.animate) {
    advanceAnimation(scene);
  }
  applyDisplayFlags(scene);
  placeCamera(scene);
  drawLights(scene);
  applySpin(scene);
  applyEnvironmentMap(scene);
  drawTorus(scene);
  endTorusPass();
  drawTetraMarker(scene);
}

void renderFrame(SceneState& scene) {
  drawScene(scene);
  glFlush();
}
