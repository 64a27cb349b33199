// Every GL call of start-up and of real frames on real Mesa, compared step by step with the
// stream the viewer is meant to produce. The expected stream is written here from the viewer's
// description (start-up order, frame steps, strip formulas, light table), not from its code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/callbacks.h"
#include "input/key_script.h"
#include "maps/maps.h"
#include "render/frame.h"
#include "render/glut_headers.h"
#include "render/hud.h"
#include "run/readout.h"
#include "run/run.h"
#include "run/run_input.h"
#include "run/run_state.h"
#include "tests/gl_recorder.h"
#include "tests/gl_window.h"
#include "tests/viewer_process.h"
#include "texture/map_texture.h"

namespace {

using Calls = std::vector<GlCall>;

// ---- The expected stream ------------------------------------------------------------------

constexpr double kPi = 3.14159265359;
constexpr double kTwoPi = 6.28318530718;

struct Light {
  float colour[4];
  float axis[3];
  float offset[3];
  int rate;
};
const Light kLightTable[5] = {
    {{0, 0, 1, 1}, {0.3f, 0.5f, 0.7f}, {8, 1, 3}, 3},
    {{1, 0.1f, 0.1f, 1}, {0.1f, 0.8f, 0.2f}, {9, 1, 10}, -7},
    {{0.95f, 0.5f, 0.1f, 1}, {0.8f, 0.1f, 0.9f}, {12, 7, 4}, 1},
    {{0.7f, 0.6f, 0.2f, 1}, {0.1f, 0.1f, 0.9f}, {8, 17, 3}, 0},
    {{0.95f, 0.05f, 0.95f, 1}, {0.8f, 0.8f, 0.7f}, {13, 1, 9}, 5},
};

struct Stream {
  Calls calls;
  Stream& operator()(const char* name, std::vector<double> args = {}, const char* text = "") {
    calls.push_back({name, std::move(args), text});
    return *this;
  }
  Stream& array(const char* name, std::vector<double> args, const float* values, int count) {
    args.insert(args.end(), values, values + count);
    return (*this)(name, std::move(args));
  }
  Stream& enableIf(bool on, GLenum capability) {
    return (*this)(on ? "glEnable" : "glDisable", {double(capability)});
  }
};

void reshapeCalls(Stream& s, int width, int height) {
  s("glViewport", {0, 0, double(width), double(height)});
  s("glMatrixMode", {GL_PROJECTION})("glLoadIdentity");
  s("gluPerspective", {60, double(float(double(width) / (height == 0 ? 1 : height))), 1, 30});
}

// The loader's calls for a 256 × 256 map.
void uploadCalls(Stream& s) {
  s("glGenTextures", {1})("glEnable", {GL_TEXTURE_2D})("glBindTexture", {GL_TEXTURE_2D, 1});
  // Tightly packed rows, and a clean error state before the upload whose error is asked.
  s("glPixelStorei", {GL_UNPACK_ALIGNMENT, 1})("glGetError");
  s("glTexImage2D", {GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, 1});
  s("glGetError");
}

// Start-up, with the loader's calls when env.ppm holds a 256 × 256 map.
void startupCalls(Stream& s, bool withMap) {
  s("glutInit")("glutInitDisplayMode", {18})("glutInitWindowPosition", {10, 60});
  s("glutInitWindowSize", {620, 160})("glutCreateWindow", {}, "Velkarin - lighting");
  s("glEnable", {GL_DEPTH_TEST});
  reshapeCalls(s, 620, 160);
  s("glutKeyboardFunc", {1})("glutSpecialFunc", {1})("glutReshapeFunc", {1});
  s("glutMouseFunc", {1})("glutMotionFunc", {1});  // the drag, beyond the keys
  s("glCullFace", {GL_BACK})("glEnable", {GL_LIGHTING})("glEnable", {GL_LIGHT0});
  s("glEnable", {GL_COLOR_MATERIAL});
  for (int k = 0; k < 5; ++k) {
    s.array("glLightfv", {double(GL_LIGHT0 + k), GL_DIFFUSE}, kLightTable[k].colour, 4);
    s.array("glLightfv", {double(GL_LIGHT0 + k), GL_SPECULAR}, kLightTable[k].colour, 4);
  }
  if (withMap) {
    uploadCalls(s);
  }
  s("glutIdleFunc", {1})("glutDisplayFunc", {1})("glutMainLoop");
}

// The state a viewer starts in, field by field as its description gives it (not the code's
// own initial values, so that a wrong one shows in every frame drawn from it).
SceneState initialState() {
  SceneState m;
  m.shadeModel = GL_FLAT, m.polygonMode = GL_LINE, m.stripPrimitive = GL_TRIANGLE_STRIP;
  m.turnCount = 10, m.stepsPerTurn = 8, m.animate = 1, m.lightingOn = 1, m.specularOn = 1;
  m.modulateTexture = 1, m.majorRadius = 3.0f, m.tubeRadius = 1.0f;
  m.spinRateX = m.spinRateY = m.spinX = m.spinY = m.viewTiltX = m.viewTurnY = 0;
  m.cullFaces = m.gradientColour = m.localViewer = m.envMapOn = 0;
  for (int k = 0; k < 5; ++k) {
    m.lightOn[k] = 1;
    m.lightAngle[k] = 0.0f;
  }
  m.envTexture = 0;
  return m;
}

void animate(SceneState& m) {
  m.spinX = std::int32_t(std::uint32_t(m.spinX) + std::uint32_t(m.spinRateX));
  m.spinY = std::int32_t(std::uint32_t(m.spinY) + std::uint32_t(m.spinRateY));
  for (int k = 0; k < 5; ++k) {
    m.lightAngle[k] = float(m.lightAngle[k] + kLightTable[k].rate);
    m.lightAngle[k] -= float(360 * (int(m.lightAngle[k]) / 360));
  }
}

void stripVertex(Stream& s, const SceneState& m, double ring, double theta, double rho) {
  if (m.gradientColour) {
    const double c = ring / kTwoPi;
    s("glColor3f", {float(1 - c), 0, float(c)});
  }
  s("glNormal3f",
    {std::cos(ring) * std::cos(theta), std::sin(theta), std::sin(ring) * std::cos(theta)});
  s("glVertex3f", {std::cos(ring) * rho, m.tubeRadius * std::sin(theta), std::sin(ring) * rho});
}

void torusCalls(Stream& s, const SceneState& m) {
  const double r = m.tubeRadius;
  const double R = m.majorRadius;
  const int steps = m.stepsPerTurn;
  const int turns = m.turnCount;
  s("glMaterialf", {GL_FRONT, GL_SHININESS, 80});
  const double specular = m.specularOn ? 1.0 : 0.0;
  s("glMaterialfv", {GL_FRONT, GL_SPECULAR, specular, specular, specular, 1});
  s("glBegin", {double(m.stripPrimitive)});
  for (int i = 0; i < turns; ++i) {
    const double phi = (2 * i) * kPi / turns;
    for (int j = 0; j < steps; ++j) {
      const double theta = (2 * j) * kPi / steps;
      const double rho = R + r * std::cos(theta);
      stripVertex(s, m, (kTwoPi / turns + phi) + theta / turns, theta, rho);
      stripVertex(s, m, theta / turns + phi, theta, rho);
    }
  }
  const double width = kTwoPi / turns;
  s("glNormal3f", {std::cos(width), 0, std::sin(width)});
  s("glVertex3f", {std::cos(width) * (R + r), 0, std::sin(width) * (R + r)});
  s("glNormal3f", {1, 0, 0})("glVertex3f", {R + r, 0, 0})("glEnd");
}

void environmentMapCalls(Stream& s, const SceneState& m) {
  if (!m.envMapOn) {
    s("glDisable", {GL_TEXTURE_2D});
    return;
  }
  s("glEnable", {GL_TEXTURE_2D})("glBindTexture", {GL_TEXTURE_2D, double(m.envTexture)});
  s("glTexGeni", {GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP});
  s("glTexGeni", {GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP});
  s("glEnable", {GL_TEXTURE_GEN_S})("glEnable", {GL_TEXTURE_GEN_T});
  s("glTexEnvf",
    {GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, double(m.modulateTexture ? GL_MODULATE : GL_DECAL)});
  s("glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT});
  s("glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT});
  s("glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR});
  s("glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR});
}

// One frame drawn from the model state, which it animates as the frame does.
void frameCalls(Stream& s, SceneState& m) {
  s("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT});
  s("glPolygonMode", {GL_FRONT_AND_BACK, double(m.polygonMode)});
  if (m.animate) {
    animate(m);
  }
  s.enableIf(m.cullFaces, GL_CULL_FACE).enableIf(m.lightingOn, GL_LIGHTING);
  s("glLightModeli", {GL_LIGHT_MODEL_LOCAL_VIEWER, m.localViewer ? 1.0 : 0.0});
  for (int k = 0; k < 5; ++k) {
    s.enableIf(m.lightOn[k], GL_LIGHT0 + k);
  }
  s("glShadeModel", {double(m.shadeModel)});
  s("glMatrixMode", {GL_MODELVIEW})("glLoadIdentity")("glTranslatef", {0, 0, -9});
  s("glRotatef", {25, 1, 0, 0})("glRotatef", {double(m.viewTurnY), 0, 1, 0});
  s("glRotatef", {double(m.viewTiltX), 1, 0, 0});
  for (int k = 0; k < 5; ++k) {
    if (!m.lightOn[k]) {
      continue;
    }
    const Light& light = kLightTable[k];
    s("glPushMatrix");
    s("glRotatef", {m.lightAngle[k], light.axis[0], light.axis[1], light.axis[2]});
    s("glTranslatef", {light.offset[0], light.offset[1], light.offset[2]});
    s("glLightfv", {double(GL_LIGHT0 + k), GL_POSITION, m.localViewer ? 1.0 : 0.0, 0, 0,
                    m.localViewer ? 0.0 : 1.0});
    s.array("glColor3fv", {}, light.colour, 3);
    s.array("glMaterialfv", {GL_FRONT, GL_EMISSION}, light.colour, 4);
    s("glutSolidSphere", {0.5, 10, 10})("glPopMatrix");
  }
  s("glMaterialfv", {GL_FRONT, GL_EMISSION, 0, 0, 0, 1});
  s("glRotatef", {m.spinX * 0.05, 1, 0, 0})("glRotatef", {m.spinY * 0.05, 0, 1, 0});
  environmentMapCalls(s, m);
  s("glPushMatrix")("glColor3f", {0.9, 0.1, 0.4});
  torusCalls(s, m);
  s("glPopMatrix");
  s("glDisable", {GL_TEXTURE_GEN_S})("glDisable", {GL_TEXTURE_GEN_T});
  s("glDisable", {GL_TEXTURE_2D})("glDisable", {GL_LIGHTING});
  s("glTranslatef", {-double(m.majorRadius) - m.tubeRadius - 0.3, 0, 0});
  s("glScalef", {0.2, 0.2, 0.2})("glColor3f", {1, 1, 0})("glBegin", {GL_TRIANGLE_STRIP});
  const double z = std::sqrt(3.0) * 0.5;
  s("glVertex3f", {-0.5, 0, z})("glVertex3f", {-0.5, 0, -z})("glVertex3f", {1, 0, 0});
  s("glVertex3f", {0, std::sqrt(2.0), 0})("glVertex3f", {-0.5, 0, z});
  s("glVertex3f", {-0.5, 0, -z})("glEnd")("glFlush")("glutSwapBuffers");
}

// ---- The comparison -----------------------------------------------------------------------

bool sameNumber(double actual, double expected) {
  const double scale = std::max(std::fabs(actual), std::fabs(expected));
  return std::fabs(actual - expected) <= 1e-5 * scale + 1e-6;
}

bool sameCall(const GlCall& actual, const GlCall& expected) {
  if (actual.name != expected.name || actual.text != expected.text ||
      actual.args.size() != expected.args.size()) {
    return false;
  }
  for (std::size_t k = 0; k < actual.args.size(); ++k) {
    if (!sameNumber(actual.args[k], expected.args[k])) {
      return false;
    }
  }
  return true;
}

// Reports the first call that differs, with the calls before it for context.
void expectSameStream(const Calls& actual, const Calls& expected) {
  const std::size_t length = std::max(actual.size(), expected.size());
  for (std::size_t k = 0; k < length; ++k) {
    const bool inBoth = k < actual.size() && k < expected.size();
    if (inBoth && sameCall(actual[k], expected[k])) {
      continue;
    }
    std::string context;
    for (std::size_t c = k >= 3 ? k - 3 : 0; c < k; ++c) {
      context += "    " + formatCall(expected[c]) + "\n";
    }
    ADD_FAILURE() << "call " << k << " of " << expected.size() << " expected, after\n"
                  << context << "expected: "
                  << (k < expected.size() ? formatCall(expected[k]) : "(end of stream)")
                  << "\nactual:   "
                  << (k < actual.size() ? formatCall(actual[k]) : "(end of stream)");
    return;
  }
}

// ---- Frames driven through the real callbacks ---------------------------------------------

constexpr int kSpecial = 1000;  // added to a GLUT special-key code

GLuint bundledMap = 0;

// One pointer event: a button pressed or released, or (button kMotion) the pointer moved with
// a button held.
struct Pointer {
  int button, state, x, y;
};
constexpr int kMotion = -1;
constexpr int kWheelUp = 3;  // freeglut reports the wheel as buttons 3 and 4
constexpr int kWheelDown = 4;

struct Row {
  const char* name;
  std::function<void(SceneState&)> given;   // the state the key meets (and the frame shows)
  std::string keys;                         // as --keys spells them; "" for none
  std::function<void(SceneState&)> effect;  // what the key (or the pointer) does to the state
  bool drawsAtOnce;
  std::vector<Pointer> pointer = {};  // after the key
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

void nothing(SceneState&) {}

std::vector<Row> rows() {
  std::vector<Row> table = {
      {"initial state", nothing, "", nothing, false},
      {"0 stops the spin and resumes the animation",
       [](SceneState& s) { s.spinRateX = 3, s.spinRateY = -2; }, "0",
       [](SceneState& s) { s.animate = 1, s.spinRateX = 0, s.spinRateY = 0; }, true},
      {"a resumes the animation", [](SceneState& s) { s.spinRateY = 5; }, "a",
       [](SceneState& s) { s.animate = 1; }, false},
      {"s steps the spin once and pauses",
       [](SceneState& s) { s.animate = 1, s.spinRateX = 4, s.spinRateY = -3, s.spinX = 10; }, "s",
       [](SceneState& s) { s.animate = 0, s.spinX = 14, s.spinY = -3; }, true},
      {"r resets what it resets",
       [](SceneState& s) {
         s.envMapOn = s.localViewer = s.gradientColour = s.cullFaces = 1;
         s.lightOn[1] = s.lightOn[4] = s.lightingOn = 0;
         s.spinRateX = 2, s.spinRateY = 3, s.spinX = 40, s.spinY = 50;
         s.viewTurnY = 7, s.viewTiltX = -8, s.lightAngle[0] = 90;
         s.shadeModel = GL_SMOOTH, s.polygonMode = GL_FILL, s.stripPrimitive = GL_QUAD_STRIP;
         s.turnCount = 6, s.stepsPerTurn = 5, s.specularOn = 0, s.modulateTexture = 0;
       },
       "r",
       [](SceneState& s) {
         s.envMapOn = s.localViewer = s.gradientColour = s.cullFaces = 0;
         s.lightOn[1] = s.lightOn[4] = s.lightingOn = s.animate = 1;
         s.spinRateX = s.spinRateY = s.spinX = s.spinY = s.viewTurnY = s.viewTiltX = 0;
       },
       true},
      {"L switches lighting", nothing, "L", [](SceneState& s) { s.lightingOn = 0; }, true},
      {"l switches the local viewer", nothing, "l", [](SceneState& s) { s.localViewer = 1; }, true},
      {"i switches the highlights", nothing, "i", [](SceneState& s) { s.specularOn = 0; }, true},
      {"e maps the bundled texture", [](SceneState& s) { s.envTexture = bundledMap; }, "e",
       [](SceneState& s) { s.envMapOn = 1; }, true},
      {"E makes the map a decal", [](SceneState& s) { s.envTexture = bundledMap, s.envMapOn = 1; },
       "E", [](SceneState& s) { s.modulateTexture = 0; }, true},
      {"c switches culling", nothing, "c", [](SceneState& s) { s.cullFaces = 1; }, true},
      {"o colours the strip", nothing, "o", [](SceneState& s) { s.gradientColour = 1; }, true},
      {"f shades smoothly", nothing, "f", [](SceneState& s) { s.shadeModel = GL_SMOOTH; }, false},
      {"p fills", nothing, "p", [](SceneState& s) { s.polygonMode = GL_FILL; }, false},
      {"q makes a quad strip", nothing, "q",
       [](SceneState& s) { s.stripPrimitive = GL_QUAD_STRIP; }, false},
      {"W adds a turn", nothing, "W", [](SceneState& s) { s.turnCount = 11; }, false},
      {"w takes a turn", nothing, "w", [](SceneState& s) { s.turnCount = 9; }, false},
      {"N adds a step", nothing, "N", [](SceneState& s) { s.stepsPerTurn = 9; }, false},
      {"n takes a step", nothing, "n", [](SceneState& s) { s.stepsPerTurn = 7; }, false},
      {"w stops at 4 turns", [](SceneState& s) { s.turnCount = 4; }, "w", nothing, false},
      {"n stops at 4 steps", [](SceneState& s) { s.stepsPerTurn = 4; }, "n", nothing, false},
      {"x tilts", nothing, "x", [](SceneState& s) { s.viewTiltX = 1; }, true},
      {"X tilts back", nothing, "X", [](SceneState& s) { s.viewTiltX = -1; }, true},
      {"z turns", nothing, "z", [](SceneState& s) { s.viewTurnY = 1; }, true},
      {"Z turns back", nothing, "Z", [](SceneState& s) { s.viewTurnY = -1; }, true},
      {"Left spins", [](SceneState& s) { s.animate = 1; }, "<left>",
       [](SceneState& s) { s.spinRateY = -1; }, false},
      {"Right spins", [](SceneState& s) { s.animate = 1; }, "<right>",
       [](SceneState& s) { s.spinRateY = 1; }, false},
      {"Up spins", [](SceneState& s) { s.animate = 1; }, "<up>",
       [](SceneState& s) { s.spinRateX = 1; }, false},
      {"Down spins", [](SceneState& s) { s.animate = 1; }, "<down>",
       [](SceneState& s) { s.spinRateX = -1; }, false},
      {"map on without a texture, modulated", [](SceneState& s) { s.envMapOn = 1; }, "", nothing,
       false},
      {"map on without a texture, as a decal",
       [](SceneState& s) { s.envMapOn = 1, s.modulateTexture = 0; }, "", nothing, false},
      {"lights off, directional lights on",
       [](SceneState& s) {
         s.lightOn[0] = s.lightOn[2] = s.lightOn[4] = 0;
         s.localViewer = 1;
         s.lightAngle[1] = -35, s.lightAngle[3] = 0, s.lightAngle[4] = 300;
       },
       "", nothing, false},
      {"gradient on a quad strip of other counts",
       [](SceneState& s) {
         s.gradientColour = 1, s.stripPrimitive = GL_QUAD_STRIP;
         s.turnCount = 4, s.stepsPerTurn = 13, s.polygonMode = GL_FILL;
       },
       "", nothing, false},
      {"animated frames with spin and wrapping angles",
       [](SceneState& s) {
         s.animate = 1, s.spinRateX = 7, s.spinRateY = -9, s.spinX = 2147483645;
         s.lightAngle[0] = 358, s.lightAngle[1] = -355, s.lightAngle[2] = 359.5f;
       },
       "", nothing, false},
  };
  // Dragging: the left button turns the view (2 pixels a degree) and draws at once; no other
  // button ever drags, and releasing the left one ends the drag whatever else is held.
  const Pointer leftDown{GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 50};
  const Pointer leftUp{GLUT_LEFT_BUTTON, GLUT_UP, 100, 50};
  const Pointer rightDown{GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 50};
  const Pointer rightUp{GLUT_RIGHT_BUTTON, GLUT_UP, 100, 50};
  const Pointer moved{kMotion, 0, 120, 56};  // 20 right, 6 down: 10 degrees turn, 3 tilt
  const auto turned = [](SceneState& s) { s.viewTurnY = 10, s.viewTiltX = 3; };
  table.push_back({"a left drag turns and tilts at once",
                   nothing,
                   "",
                   turned,
                   true,
                   {leftDown, moved, leftUp}});
  table.push_back({"a drag of less than a degree waits",
                   nothing,
                   "",
                   nothing,
                   false,
                   {leftDown, {kMotion, 0, 101, 51}, leftUp}});
  table.push_back({"a drag goes on while another button comes and goes",
                   nothing,
                   "",
                   turned,
                   true,
                   {leftDown, rightDown, rightUp, moved, leftUp}});
  table.push_back({"releasing the left button ends the drag though another is held",
                   nothing,
                   "",
                   nothing,
                   false,
                   {leftDown, rightDown, leftUp, moved, rightUp}});
  for (const int button : {GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON, kWheelUp, kWheelDown}) {
    table.push_back({"only the left button drags",
                     nothing,
                     "",
                     nothing,
                     false,
                     {{button, GLUT_DOWN, 100, 50}, moved, {button, GLUT_UP, 120, 56}}});
  }
  // The digit keys, each from a state where its light is on except for the fourth.
  for (int k = 0; k < 5; ++k) {
    const int start = k == 3 ? 0 : 1;
    table.push_back({"a digit switches its light", [=](SceneState& s) { s.lightOn[k] = start; },
                     std::string(1, static_cast<char>('1' + k)),
                     [=](SceneState& s) { s.lightOn[k] = !start; }, true});
  }
  return table;
}

// Keys as --keys spells them, through the handler every input takes.
void press(const std::string& keys) {
  std::vector<ScriptKey> script;
  std::string unknown;
  ASSERT_TRUE(parseKeyScript(keys, &script, &unknown)) << unknown;
  for (const ScriptKey& key : script) {
    takeInput(run, scene, {0, InputKind::Key, key});
  }
}

// A raw GLUT key code, past the key tables' reach: ASCII, or kSpecial + a special-key code.
void pressCode(int key) {
  if (key >= kSpecial) {
    onSpecialKey(key - kSpecial, 0, 0);
  } else {
    onKeyboard(static_cast<unsigned char>(key), 0, 0);
  }
}

void point(const std::vector<Pointer>& events) {
  for (const Pointer& e : events) {
    if (e.button == kMotion) {
      onMotion(e.x, e.y);
    } else {
      onMouse(e.button, e.state, e.x, e.y);
    }
  }
}

class CallStream : public testing::TestWithParam<Row> {
 protected:
  static void SetUpTestSuite() {
    ImageBuffer image;
    bundledMap = loadPpmTexture(&image, VELKARIN_ASSETS "/env.ppm");
    ASSERT_NE(bundledMap, 0u);
  }
  void TearDown() override { resetScene(); }
};

TEST_P(CallStream, FramesAskGlForExactlyWhatTheStateSays) {
  const Row& row = GetParam();
  resetScene();
  row.given(scene);
  SceneState model = initialState();
  model.animate = 0;
  row.given(model);
  row.effect(model);

  startRecording();
  if (!row.keys.empty()) {
    press(row.keys);
  }
  point(row.pointer);
  plainFrame(run, scene);
  const Calls actual = stopRecording();

  Stream expected;
  if (row.drawsAtOnce) {
    frameCalls(expected, model);
  }
  frameCalls(expected, model);
  expectSameStream(actual, expected.calls);
}

INSTANTIATE_TEST_SUITE_P(EveryKeyAndState, CallStream, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<Row>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name + "_" + std::to_string(info.index);
                         });

// Every key outside the key tables, from a state where any change would show: no frame at
// once, and the next frame is the one the state already asked for.
TEST(CallStreamOtherKeys, EveryOtherKeyDrawsNothingAndChangesNothing) {
  const std::string tableKeys = std::string("\x1b") + "012345asrLlieEcofpqWwNnxXzZ";
  const auto varied = [](SceneState& s) {
    s.envMapOn = s.localViewer = s.gradientColour = s.cullFaces = 1;
    s.lightOn[1] = s.lightOn[3] = s.lightingOn = s.specularOn = s.modulateTexture = 0;
    s.spinRateX = 2, s.spinRateY = -3, s.spinX = 100, s.spinY = -50;
    s.viewTiltX = 5, s.viewTurnY = -4, s.lightAngle[0] = 30, s.lightAngle[1] = -70;
    s.shadeModel = GL_SMOOTH, s.polygonMode = GL_FILL, s.stripPrimitive = GL_QUAD_STRIP;
    s.turnCount = 7, s.stepsPerTurn = 6;
  };
  const int arrows[] = {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN};
  for (int key = 0; key < kSpecial + 512; ++key) {
    const bool inTable =
        key < 256 ? tableKeys.find(static_cast<char>(key)) != std::string::npos
                  : std::count(std::begin(arrows), std::end(arrows), key - kSpecial) != 0;
    if (inTable || (key >= 256 && key < kSpecial)) {
      continue;
    }
    SCOPED_TRACE("key code " + std::to_string(key));
    resetScene();
    varied(scene);
    SceneState model = initialState();
    model.animate = 0;
    varied(model);
    startRecording();
    pressCode(key);
    plainFrame(run, scene);
    const Calls actual = stopRecording();
    Stream expected;
    frameCalls(expected, model);
    expectSameStream(actual, expected.calls);
  }
  resetScene();
}

// With one map the page keys have nowhere to go: no frame at once, no other texture, no title.
TEST(CallStreamOtherKeys, ThePageKeysWithOneMapDrawNothingAndNameNothing) {
  resetScene();
  findMaps(run.maps, {VELKARIN_ASSETS "/env.ppm"});
  loadEnvironmentMap(run.maps);
  settleMaps(run.maps, 60.0);
  scene.envTexture = shownTexture(run.maps);
  ASSERT_NE(scene.envTexture, 0u);
  scene.envMapOn = 1;
  glDisable(GL_TEXTURE_2D);  // as start-up leaves it for the first frame
  SceneState model = initialState();
  model.animate = 0, model.envMapOn = 1, model.envTexture = scene.envTexture;
  const std::string title = windowTitle();
  for (const int key : {GLUT_KEY_PAGE_DOWN, GLUT_KEY_PAGE_UP}) {
    startRecording();
    pressCode(kSpecial + key);
    plainFrame(run, scene);
    const Calls actual = stopRecording();
    Stream expected;
    frameCalls(expected, model);
    expectSameStream(actual, expected.calls);
    EXPECT_EQ(windowTitle(), title);
  }
  resetScene();
}

// The readout of --hud is one block of calls between the marker and the flush, and leaves
// nothing behind: the next frame asks GL for the same as before and shows the same picture.
TEST(CallStreamReadout, IsOneBlockBeforeTheFlushAndLeavesNoTrace) {
  resetScene();
  scene.polygonMode = GL_FILL;
  prepareHud(run.readout, run.window.lookUp);
  const auto frame = [](bool readout) {
    startRecording();
    drawScene(scene);  // as a run with --hud draws its frames
    if (readout) {
      drawHud(run.readout, readoutText(scene, HudFigures{7, 12.5, ""}));
    }
    glFlush();
    glutSwapBuffers();
    return stopRecording();
  };
  frame(false);  // the spheres take their material from the frame before: one like the next
  const Calls plain = frame(false);
  const std::vector<unsigned char> plainPicture = shownImage();
  const Calls withReadout = frame(true);
  const std::vector<unsigned char> readoutPicture = shownImage();
  expectSameStream(frame(false), plain);
  EXPECT_EQ(shownImage(), plainPicture);
  EXPECT_NE(readoutPicture, plainPicture);

  const auto flush = std::find_if(plain.begin(), plain.end(),
                                  [](const GlCall& call) { return call.name == "glFlush"; });
  ASSERT_NE(flush, plain.end());
  const std::size_t before = static_cast<std::size_t>(flush - plain.begin());
  const std::size_t after = plain.size() - before;
  ASSERT_GT(withReadout.size(), plain.size());
  expectSameStream(Calls(withReadout.begin(), withReadout.begin() + before),
                   Calls(plain.begin(), flush));
  expectSameStream(Calls(withReadout.end() - after, withReadout.end()), Calls(flush, plain.end()));
  resetScene();
}

// ---- The real binary, preloaded with the recorder -----------------------------------------

Calls recordViewer(bool withMap, const std::vector<std::string>& args) {
  const std::string folder = makeTempFolder();
  if (withMap) {
    std::ifstream in(VELKARIN_ASSETS "/env.ppm", std::ios::binary);
    std::ofstream(folder + "/env.ppm", std::ios::binary) << in.rdbuf();
  }
  const std::string preload = std::getenv("LD_PRELOAD") != nullptr
                                  ? std::string(std::getenv("LD_PRELOAD")) + ":"
                                  : std::string();
  ViewerProcess viewer =
      startViewer(folder, args,
                  {"LD_PRELOAD=" + preload + VELKARIN_RECORDER,
                   "VELKARIN_RECORD_GL=" + folder + "/calls", "VELKARIN_RECORD_FRAMES=2"});
  EXPECT_EQ(waitForExit(viewer, 60000), 0) << "the recorded viewer did not finish two frames";
  stopViewer(viewer);
  Calls calls;
  std::ifstream in(folder + "/calls");
  for (std::string line; std::getline(in, line);) {
    calls.push_back(parseCall(line));
  }
  return calls;
}

// The first frames of a fresh viewer: start-up, GLUT's own reshape to the window's size, then
// two animated frames from the initial state.
void expectViewerStream(bool withMap, const std::vector<std::string>& args = {}) {
  Stream expected;
  startupCalls(expected, withMap);
  reshapeCalls(expected, 620, 160);
  SceneState model = initialState();
  frameCalls(expected, model);
  frameCalls(expected, model);
  expectSameStream(recordViewer(withMap && args.empty(), args), expected.calls);
}

TEST(ViewerCallStream, StartUpLoadsTheMapAndDrawsAnimatedFrames) {
  expectViewerStream(true);
}

TEST(ViewerCallStream, WithoutAMapStartUpMakesNoTextureCalls) {
  expectViewerStream(false);
}

// A map named is read on the worker: a scripted run uploads it, as env.ppm is uploaded, before
// its first frame, once GLUT's loop runs, and leaves texturing off for that frame.
TEST(ViewerCallStream, AMapNamedOnTheCommandLineLoadsAsEnvPpmDoesBeforeTheFirstFrame) {
  Stream expected;
  startupCalls(expected, false);
  reshapeCalls(expected, 620, 160);
  uploadCalls(expected);
  expected("glDisable", {GL_TEXTURE_2D});
  SceneState model = initialState();
  frameCalls(expected, model);
  frameCalls(expected, model);
  expectSameStream(recordViewer(false, {"--env-map", VELKARIN_ASSETS "/env.ppm", "--frames", "2"}),
                   expected.calls);
}

}  // namespace
