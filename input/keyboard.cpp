#include "input/keyboard.h"

#include <cstdlib>

#include "app/gl_headers.h"
#include "app/wrapping.h"
#include "render/frame.h"

namespace {

constexpr unsigned char kEscape = 27;
constexpr std::int32_t kMinimumCount = 4;  // where w and n stop; W and N have no ceiling
constexpr int kQuitStatus = 1;

void toggle(std::int32_t& flag) {
  flag = !flag;
}

// Counters have no upper bound; they wrap like the spin instead of overflowing.
void step(std::int32_t& counter, std::int32_t delta) {
  counter = wrappingAdd(counter, delta);
}

void decrementDownTo(std::int32_t& count, std::int32_t floor) {
  if (count > floor) {
    --count;
  }
}

void alternate(GLenum& value, GLenum first, GLenum second) {
  value = value == first ? second : first;
}

void resetScene(SceneState& s) {
  s.envMapOn = 0;
  s.localViewer = 0;
  for (int k = kLightCount - 1; k >= 0; --k) {
    s.lightOn[k] = 1;
  }
  s.animate = 1;
  s.lightingOn = 1;
  s.spinRateY = 0;
  s.spinRateX = 0;
  s.spinY = 0;
  s.spinX = 0;
  s.gradientColour = 0;
  s.cullFaces = 0;
  s.viewTurnY = 0;
  s.viewTiltX = 0;
}

}  // namespace

// Keys that switch what a frame shows draw at once, so the change appears even when frames are
// slow; the others (animation, shading, polygon mode, strip shape) wait for the next frame.
KeyAction applyKey(SceneState& s, unsigned char key) {
  switch (key) {
    case kEscape:
      return KeyAction::Quit;
    case '0':
      s.animate = 1;
      s.spinRateY = 0;
      s.spinRateX = 0;
      return KeyAction::DrawNow;
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
      toggle(s.lightOn[key - '1']);
      return KeyAction::DrawNow;
    case 'a':
      toggle(s.animate);
      return KeyAction::NextFrame;
    case 's':
      s.animate = 0;
      step(s.spinY, s.spinRateY);
      step(s.spinX, s.spinRateX);
      return KeyAction::DrawNow;
    case 'r':
      resetScene(s);
      return KeyAction::DrawNow;
    case 'L':
      toggle(s.lightingOn);
      return KeyAction::DrawNow;
    case 'l':
      toggle(s.localViewer);
      return KeyAction::DrawNow;
    case 'i':
      toggle(s.specularOn);
      return KeyAction::DrawNow;
    case 'e':
      toggle(s.envMapOn);
      return KeyAction::DrawNow;
    case 'E':
      toggle(s.modulateTexture);
      return KeyAction::DrawNow;
    case 'c':
      toggle(s.cullFaces);
      return KeyAction::DrawNow;
    case 'o':
      toggle(s.gradientColour);
      return KeyAction::DrawNow;
    case 'f':
      alternate(s.shadeModel, GL_SMOOTH, GL_FLAT);
      return KeyAction::NextFrame;
    case 'p':
      alternate(s.polygonMode, GL_LINE, GL_FILL);
      return KeyAction::NextFrame;
    case 'q':
      alternate(s.stripPrimitive, GL_TRIANGLE_STRIP, GL_QUAD_STRIP);
      return KeyAction::NextFrame;
    case 'W':
      step(s.turnCount, 1);
      return KeyAction::NextFrame;
    case 'w':
      decrementDownTo(s.turnCount, kMinimumCount);
      return KeyAction::NextFrame;
    case 'N':
      step(s.stepsPerTurn, 1);
      return KeyAction::NextFrame;
    case 'n':
      decrementDownTo(s.stepsPerTurn, kMinimumCount);
      return KeyAction::NextFrame;
    case 'x':
      step(s.viewTiltX, 1);
      return KeyAction::DrawNow;
    case 'X':
      step(s.viewTiltX, -1);
      return KeyAction::DrawNow;
    case 'z':
      step(s.viewTurnY, 1);
      return KeyAction::DrawNow;
    case 'Z':
      step(s.viewTurnY, -1);
      return KeyAction::DrawNow;
    default:
      return KeyAction::NextFrame;
  }
}

// Arrow keys change the spin rates, never the spin itself.
void applySpecialKey(SceneState& s, int key) {
  switch (key) {
    case GLUT_KEY_LEFT:
      step(s.spinRateY, -1);
      break;
    case GLUT_KEY_RIGHT:
      step(s.spinRateY, 1);
      break;
    case GLUT_KEY_UP:
      step(s.spinRateX, 1);
      break;
    case GLUT_KEY_DOWN:
      step(s.spinRateX, -1);
      break;
    default:
      break;
  }
}

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  switch (applyKey(scene, key)) {
    case KeyAction::Quit:
      std::exit(kQuitStatus);
    case KeyAction::DrawNow:
      renderFrame();
      break;
    case KeyAction::NextFrame:
      break;
  }
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
  applySpecialKey(scene, key);
}
