#include "app/callbacks.h"

#include <cstdlib>

#include "input/keyboard.h"
#include "input/mouse.h"
#include "render/frame.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

constexpr int kQuitStatus = 1;

Drag drag;
void (*drawNow)() = renderFrame;

}  // namespace

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  switch (applyKey(scene, key)) {
    case KeyAction::Quit:
      std::exit(kQuitStatus);
    case KeyAction::DrawNow:
      drawNow();
      break;
    case KeyAction::NextFrame:
      break;
  }
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
  applySpecialKey(scene, key);
}

void onMouse(int button, int state, int x, int y) {
  if (button != GLUT_LEFT_BUTTON) {
    return;
  }
  if (state == GLUT_DOWN) {
    beginDrag(drag, x, y);
  } else {
    endDrag(drag);
  }
}

// Like the x/X and z/Z keys, a drag that moves the view draws at once.
void onMotion(int x, int y) {
  if (dragTo(drag, scene, x, y)) {
    drawNow();
  }
}

void drawFramesNowWith(void (*draw)()) {
  drawNow = draw;
}
