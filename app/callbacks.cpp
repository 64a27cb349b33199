#include "app/callbacks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frame_counter.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "render/frame.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

constexpr int kQuitStatus = 1;

Drag drag;
FrameCounter frameCounter;

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

}  // namespace

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
    renderFrame();
  }
}

void renderCountedFrame() {
  renderFrame();
  const std::string line = countFrame(frameCounter, secondsNow());
  if (!line.empty()) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
  }
}
