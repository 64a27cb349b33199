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
void (*reportInput)(InputEvent event) = nullptr;

void report(InputKind kind, ScriptKey key, int x, int y) {
  if (reportInput != nullptr) {
    reportInput({0, kind, key, x, y});
  }
}

}  // namespace

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  // Escape ends a session rather than belonging to it.
  if (isCommandKey(key) && key != kEscapeKey) {
    report(InputKind::Key, {false, key}, 0, 0);
  }
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
  if (isCommandSpecialKey(key)) {
    report(InputKind::Key, {true, key}, 0, 0);
  }
  applySpecialKey(scene, key);
}

void onMouse(int button, int state, int x, int y) {
  if (button != GLUT_LEFT_BUTTON) {
    return;
  }
  if (state == GLUT_DOWN) {
    report(InputKind::Press, {}, x, y);
    beginDrag(drag, x, y);
  } else {
    report(InputKind::Release, {}, x, y);
    endDrag(drag);
  }
}

// Like the x/X and z/Z keys, a drag that moves the view draws at once.
void onMotion(int x, int y) {
  if (drag.active) {
    report(InputKind::Motion, {}, x, y);
  }
  if (dragTo(drag, scene, x, y)) {
    drawNow();
  }
}

void drawFramesNowWith(void (*draw)()) {
  drawNow = draw;
}

void reportInputsTo(void (*report)(InputEvent event)) {
  reportInput = report;
}

void deliver(const InputEvent& event) {
  switch (event.kind) {
    case InputKind::Key:
      if (event.key.special) {
        onSpecialKey(event.key.code, 0, 0);
      } else {
        onKeyboard(static_cast<unsigned char>(event.key.code), 0, 0);
      }
      break;
    case InputKind::Press:
    case InputKind::Release:
      onMouse(GLUT_LEFT_BUTTON, event.kind == InputKind::Press ? GLUT_DOWN : GLUT_UP, event.x,
              event.y);
      break;
    case InputKind::Motion:
      onMotion(event.x, event.y);
      break;
  }
}
