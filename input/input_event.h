// One input that changes the scene: a key of the key table, an arrow, or the left button's
// press, motion and release of a drag. Typed, scripted and replayed input all take this form.
#pragma once

#include <cstdint>

#include "input/input_reply.h"
#include "input/key_script.h"
#include "input/mouse.h"
#include "scene/scene_state.h"

enum class InputKind { Key, Press, Motion, Release };

struct InputEvent {
  std::int64_t frame = 0;
  InputKind kind = InputKind::Key;
  ScriptKey key;  // a Key's
  int x = 0;      // a drag's pointer position, in window pixels
  int y = 0;
};

// Applies one input to the scene, a drag's to `drag` too, from one look-up in the key tables,
// and says what it asks of the run. Pure.
InputReply applyInput(SceneState& state, Drag& drag, const InputEvent& event);
