#include "app/callbacks.h"

#include <cstdlib>

#include "input/keyboard.h"
#include "render/frame.h"
#include "scene/scene_state.h"

namespace {
constexpr int kQuitStatus = 1;
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
