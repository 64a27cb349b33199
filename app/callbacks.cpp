#include "app/callbacks.h"

#include "app/run_loop.h"
#include "app/window_records.h"

#include "input/key_script.h"
#include "render/glut_headers.h"
#include "run/run_input.h"

namespace {

// GLUT's special keys the viewer has a use for, by its own numbers; 0 for the rest (F1 ...).
int specialKeyOf(int glutKey) {
  switch (glutKey) {
    case GLUT_KEY_LEFT:
      return kKeyLeft;
    case GLUT_KEY_RIGHT:
      return kKeyRight;
    case GLUT_KEY_UP:
      return kKeyUp;
    case GLUT_KEY_DOWN:
      return kKeyDown;
    case GLUT_KEY_PAGE_UP:
      return kKeyPageUp;
    case GLUT_KEY_PAGE_DOWN:
      return kKeyPageDown;
    default:
      return 0;
  }
}

}  // namespace

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  takeInput(*windowRun, *windowScene, {0, InputKind::Key, {false, key}});
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
  if (const int code = specialKeyOf(key); code != 0) {
    takeInput(*windowRun, *windowScene, {0, InputKind::Key, {true, code}});
    hurryMapsIfStepped();
  }
}

void onMouse(int button, int state, int x, int y) {
  if (button == GLUT_LEFT_BUTTON) {
    takeInput(*windowRun, *windowScene,
              {0, state == GLUT_DOWN ? InputKind::Press : InputKind::Release, {}, x, y});
  }
}

void onMotion(int x, int y) {
  takeInput(*windowRun, *windowScene, {0, InputKind::Motion, {}, x, y});
}
