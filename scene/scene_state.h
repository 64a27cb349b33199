// The one scene state: start-up sets it, input changes it, the frame draws it and the run reads
// it for its readout; with the constant light table and colours that go with it.
#pragma once

#include <cstdint>

#include "scene/gl_headers.h"
#include "scene/image_buffer.h"

struct LightSpec {
  GLfloat colour[4];
  GLfloat axis[3];    // orbit axis, not normalised: glRotatef normalises it
  GLfloat offset[3];  // where the light sits in its rotating frame
  double rate;        // degrees of orbit per animated frame
};

inline constexpr int kLightCount = 5;

// Row k belongs to GL_LIGHT0 + k.
inline constexpr LightSpec kLights[kLightCount] = {
    {{0.0f, 0.0f, 1.0f, 1.0f}, {0.3f, 0.5f, 0.7f}, {8.0f, 1.0f, 3.0f}, 3.0},
    {{1.0f, 0.1f, 0.1f, 1.0f}, {0.1f, 0.8f, 0.2f}, {9.0f, 1.0f, 10.0f}, -7.0},
    {{0.95f, 0.5f, 0.1f, 1.0f}, {0.8f, 0.1f, 0.9f}, {12.0f, 7.0f, 4.0f}, 1.0},
    {{0.7f, 0.6f, 0.2f, 1.0f}, {0.1f, 0.1f, 0.9f}, {8.0f, 17.0f, 3.0f}, 0.0},
    {{0.95f, 0.05f, 0.95f, 1.0f}, {0.8f, 0.8f, 0.7f}, {13.0f, 1.0f, 9.0f}, 5.0},
};

// The window's title, which the viewer's tests and window managers know it by.
inline constexpr char kWindowTitle[] = "Velkarin - lighting";

inline constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr GLfloat kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};

// The torus's spin is counted in whole units of this many degrees.
inline constexpr double kSpinUnitDegrees = 0.05;

// Flags hold 0 or 1 and are switched by logical negation; GL enumerants are kept as the raw
// values GL takes, so they are passed on unchanged.
struct SceneState {
  GLenum shadeModel = GL_FLAT;
  GLenum polygonMode = GL_LINE;  // the torus starts as a wire-frame
  std::int32_t turnCount = 10;
  std::int32_t stepsPerTurn = 8;
  GLenum stripPrimitive = GL_TRIANGLE_STRIP;
  std::int32_t animate = 1;
  std::int32_t lightingOn = 1;
  std::int32_t specularOn = 1;
  std::int32_t lightOn[kLightCount] = {1, 1, 1, 1, 1};
  std::int32_t modulateTexture = 1;
  float majorRadius = 3.0f;
  float tubeRadius = 1.0f;
  std::int32_t spinRateX = 0;
  std::int32_t spinRateY = 0;
  std::int32_t spinX = 0;  // in units of kSpinUnitDegrees, as spinY and the spin rates
  std::int32_t spinY = 0;
  std::int32_t viewTiltX = 0;  // degrees
  std::int32_t viewTurnY = 0;  // degrees
  std::int32_t cullFaces = 0;
  std::int32_t gradientColour = 0;
  std::int32_t localViewer = 0;
  std::int32_t envMapOn = 0;
  float lightAngle[kLightCount] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};  // degrees
  GLuint envTexture = 0;                                           // 0: no texture
  ImageBuffer envImage;
};
