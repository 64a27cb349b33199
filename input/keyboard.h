// What each key does to the scene, and what it asks of the run once its change is made. Pure:
// the run draws, steps the maps and quits as the answer says.
#pragma once

#include <vector>

#include "input/input_reply.h"
#include "scene/scene_state.h"

// What a key of the table asks for once its change is made.
enum class KeyAction {
  None,     // nothing more: the next frame shows the change
  DrawNow,  // draw a frame at once
  Quit,     // end the run
  NextMap,  // show the next environment map, where there are several
  PreviousMap,
};

inline constexpr unsigned char kEscapeKey = 27;

using Change = void (*)(SceneState&);

// A row of the key table, the one place that says what a key does.
struct KeyCommand {
  unsigned char key;
  Change change;  // null for Escape, which only quits
  KeyAction then;
  const char* helpKeys = nullptr;  // how --help names it with its fellows ("1-5"); null: by them
  const char* helpWords = nullptr;
  const char* onWords = nullptr;  // a switch's two states as the readout says them; null: none
  const char* offWords = nullptr;
  bool (*isOn)(const SceneState&) = nullptr;
};

// Every key of the table, in the README's order.
const std::vector<KeyCommand>& keyTable();

// The special keys, as --help names them.
inline constexpr char kSpecialKeyHelp[] = "arrows spin, PgDn/PgUp next/previous map";

// Applies ASCII `key` (case-sensitive) to the state, and says what it asks of the run; unknown
// keys change nothing and ask for nothing.
InputReply applyKey(SceneState& state, unsigned char key);

// Whether the key table has a row for ASCII `key` (Escape included).
bool isCommandKey(unsigned char key);

// Applies a special key (kKeyLeft ...) to the state: the arrows change the spin rates; Page Down
// and Page Up change nothing here, and ask for another map. Others do nothing.
InputReply applySpecialKey(SceneState& state, int key);
