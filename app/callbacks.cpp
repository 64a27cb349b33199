#include "app/callbacks.h"

#include "run/run_input.h"
#include "scene/gl_headers.h"

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  takeInput({0, InputKind::Key, {false, key}});
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
  takeInput({0, InputKind::Key, {true, key}});
}

void onMouse(int button, int state, int x, int y) {
  if (button == GLUT_LEFT_BUTTON) {
    takeInput({0, state == GLUT_DOWN ? InputKind::Press : InputKind::Release, {}, x, y});
  }
}

void onMotion(int x, int y) {
  takeInput({0, InputKind::Motion, {}, x, y});
}
