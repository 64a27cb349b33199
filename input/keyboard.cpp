#include "input/keyboard.h"

#include <iterator>

#include "input/key_script.h"
#include "scene/wrapping.h"

namespace {

constexpr std::int32_t kMinimumCount = 4;  // where w and n stop; W and N have no ceiling

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

void stopSpinning(SceneState& s) {
  s.animate = 1;
  s.spinRateY = 0;
  s.spinRateX = 0;
}

void singleStep(SceneState& s) {
  s.animate = 0;
  step(s.spinY, s.spinRateY);
  step(s.spinX, s.spinRateX);
}

// Back to the initial view and switches; the torus's shape, shading and materials stay.
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

// One row per key, in the order of the README's key table: what it does, whether it draws at
// once, the words --help gives it and, for a switch, the readout's words for its two states.
// Keys that switch what a frame shows draw at once, so the change appears even when frames are
// slow; the others (animation, shading, polygon mode, strip shape, counts) wait for the next
// frame.
constexpr KeyAction kNow = KeyAction::DrawNow;
constexpr KeyAction kNext = KeyAction::None;
const KeyCommand kKeyCommands[] = {
    {kEscapeKey, nullptr, KeyAction::Quit, "Escape", "quit"},
    {'0', stopSpinning, kNow, "0", "stop spin"},
    {'1', [](SceneState& s) { toggle(s.lightOn[0]); }, kNow, "1-5", "lights"},
    {'2', [](SceneState& s) { toggle(s.lightOn[1]); }, kNow},
    {'3', [](SceneState& s) { toggle(s.lightOn[2]); }, kNow},
    {'4', [](SceneState& s) { toggle(s.lightOn[3]); }, kNow},
    {'5', [](SceneState& s) { toggle(s.lightOn[4]); }, kNow},
    {'a', [](SceneState& s) { toggle(s.animate); }, kNext, "a", "pause", "moving", "paused",
     [](const SceneState& s) { return s.animate != 0; }},
    {'s', singleStep, kNow, "s", "step"},
    {'r', resetScene, kNow, "r", "reset"},
    {'L', [](SceneState& s) { toggle(s.lightingOn); }, kNow, "L", "lighting", "lit", "unlit",
     [](const SceneState& s) { return s.lightingOn != 0; }},
    {'l', [](SceneState& s) { toggle(s.localViewer); }, kNow, "l", "local viewer", "local",
     "infinite", [](const SceneState& s) { return s.localViewer != 0; }},
    {'i', [](SceneState& s) { toggle(s.specularOn); }, kNow, "i", "highlights", "shiny", "matte",
     [](const SceneState& s) { return s.specularOn != 0; }},
    {'e', [](SceneState& s) { toggle(s.envMapOn); }, kNow, "e", "environment map", "mapped",
     "no map", [](const SceneState& s) { return s.envMapOn != 0; }},
    {'E', [](SceneState& s) { toggle(s.modulateTexture); }, kNow, "E", "decal", "modulate", "decal",
     [](const SceneState& s) { return s.modulateTexture != 0; }},
    {'c', [](SceneState& s) { toggle(s.cullFaces); }, kNow, "c", "culling", "culled", "no cull",
     [](const SceneState& s) { return s.cullFaces != 0; }},
    {'o', [](SceneState& s) { toggle(s.gradientColour); }, kNow, "o", "gradient", "gradient",
     "plain", [](const SceneState& s) { return s.gradientColour != 0; }},
    {'f', [](SceneState& s) { alternate(s.shadeModel, GL_SMOOTH, GL_FLAT); }, kNext, "f", "shading",
     "smooth", "flat", [](const SceneState& s) { return s.shadeModel == GL_SMOOTH; }},
    {'p', [](SceneState& s) { alternate(s.polygonMode, GL_LINE, GL_FILL); }, kNext, "p",
     "wire-frame", "filled", "wire", [](const SceneState& s) { return s.polygonMode == GL_FILL; }},
    {'q', [](SceneState& s) { alternate(s.stripPrimitive, GL_TRIANGLE_STRIP, GL_QUAD_STRIP); },
     kNext, "q", "strip", "quads", "triangles",
     [](const SceneState& s) { return s.stripPrimitive == GL_QUAD_STRIP; }},
    {'W', [](SceneState& s) { step(s.turnCount, 1); }, kNext, "W/w", "turns"},
    {'w', [](SceneState& s) { decrementDownTo(s.turnCount, kMinimumCount); }, kNext},
    {'N', [](SceneState& s) { step(s.stepsPerTurn, 1); }, kNext, "N/n", "steps"},
    {'n', [](SceneState& s) { decrementDownTo(s.stepsPerTurn, kMinimumCount); }, kNext},
    {'x', [](SceneState& s) { step(s.viewTiltX, 1); }, kNow, "x/X", "tilt"},
    {'X', [](SceneState& s) { step(s.viewTiltX, -1); }, kNow},
    {'z', [](SceneState& s) { step(s.viewTurnY, 1); }, kNow, "z/Z", "turn"},
    {'Z', [](SceneState& s) { step(s.viewTurnY, -1); }, kNow},
};

struct SpecialKeyCommand {
  int key;
  Change change;
  KeyAction then;
};

// Arrow keys change the spin rates, never the spin itself, and wait for the next frame. The
// page keys step through the environment maps, which the scene state does not hold.
const SpecialKeyCommand kSpecialKeyCommands[] = {
    {kKeyLeft, [](SceneState& s) { step(s.spinRateY, -1); }, kNext},
    {kKeyRight, [](SceneState& s) { step(s.spinRateY, 1); }, kNext},
    {kKeyUp, [](SceneState& s) { step(s.spinRateX, 1); }, kNext},
    {kKeyDown, [](SceneState& s) { step(s.spinRateX, -1); }, kNext},
    {kKeyPageDown, nullptr, KeyAction::NextMap},
    {kKeyPageUp, nullptr, KeyAction::PreviousMap},
};

const KeyCommand* findKeyCommand(unsigned char key) {
  for (const KeyCommand& command : kKeyCommands) {
    if (command.key == key) {
      return &command;
    }
  }
  return nullptr;
}

// What a key of either table asks of the run. Every key that does something belongs to a kept
// session but Escape, which ends one rather than belonging to it.
InputReply replyTo(KeyAction then) {
  InputReply reply;
  reply.keep = then != KeyAction::Quit;
  reply.drawNow = then == KeyAction::DrawNow;
  reply.quit = then == KeyAction::Quit;
  reply.mapStep = then == KeyAction::NextMap ? 1 : then == KeyAction::PreviousMap ? -1 : 0;
  return reply;
}

}  // namespace

InputReply applyKey(SceneState& state, unsigned char key) {
  const KeyCommand* command = findKeyCommand(key);
  if (command == nullptr) {
    return {};
  }
  if (command->change != nullptr) {
    command->change(state);
  }
  return replyTo(command->then);
}

const std::vector<KeyCommand>& keyTable() {
  static const std::vector<KeyCommand> table(std::begin(kKeyCommands), std::end(kKeyCommands));
  return table;
}

bool isCommandKey(unsigned char key) {
  return findKeyCommand(key) != nullptr;
}

InputReply applySpecialKey(SceneState& state, int key) {
  for (const SpecialKeyCommand& command : kSpecialKeyCommands) {
    if (command.key == key) {
      if (command.change != nullptr) {
        command.change(state);
      }
      return replyTo(command.then);
    }
  }
  return {};
}
