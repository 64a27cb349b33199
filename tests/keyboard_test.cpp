// What each key does to the scene, read against the key tables of the README.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "input/keyboard.h"
#include "scene/gl_headers.h"

namespace {

using Fields = std::map<std::string, double>;

Fields fieldsOf(const SceneState& s) {
  Fields f = {
      {"shadeModel", s.shadeModel},
      {"polygonMode", s.polygonMode},
      {"turnCount", s.turnCount},
      {"stepsPerTurn", s.stepsPerTurn},
      {"stripPrimitive", s.stripPrimitive},
      {"animate", s.animate},
      {"lightingOn", s.lightingOn},
      {"specularOn", s.specularOn},
      {"modulateTexture", s.modulateTexture},
      {"majorRadius", s.majorRadius},
      {"tubeRadius", s.tubeRadius},
      {"spinRateX", s.spinRateX},
      {"spinRateY", s.spinRateY},
      {"spinX", s.spinX},
      {"spinY", s.spinY},
      {"viewTiltX", s.viewTiltX},
      {"viewTurnY", s.viewTurnY},
      {"cullFaces", s.cullFaces},
      {"gradientColour", s.gradientColour},
      {"localViewer", s.localViewer},
      {"envMapOn", s.envMapOn},
      {"envTexture", s.envTexture},
  };
  for (int k = 0; k < kLightCount; ++k) {
    f["lightOn" + std::to_string(k)] = s.lightOn[k];
    f["lightAngle" + std::to_string(k)] = s.lightAngle[k];
  }
  return f;
}

// A state in which every field differs from its initial value where it can, so that a toggle
// or a reset shows.
SceneState variedState() {
  SceneState s;
  s.turnCount = 7;
  s.stepsPerTurn = 6;
  s.lightingOn = 0;
  s.specularOn = 0;
  const std::int32_t lightsOn[kLightCount] = {1, 0, 1, 0, 1};
  const float angles[kLightCount] = {30.0f, -70.0f, 200.0f, 0.0f, 45.0f};
  for (int k = 0; k < kLightCount; ++k) {
    s.lightOn[k] = lightsOn[k];
    s.lightAngle[k] = angles[k];
  }
  s.spinRateX = 2;
  s.spinRateY = -3;
  s.spinX = 100;
  s.spinY = -50;
  s.viewTiltX = 5;
  s.viewTurnY = -4;
  s.cullFaces = 1;
  s.gradientColour = 1;
  s.localViewer = 1;
  s.envMapOn = 1;
  s.envTexture = 9;
  return s;
}

struct KeyCase {
  unsigned char key;
  Fields changes;  // fields that change, with their new values; nothing else may change
  KeyAction action;
};

const std::vector<KeyCase>& keyTable() {
  static const std::vector<KeyCase> table = {
      {27, {}, KeyAction::Quit},
      {'0', {{"spinRateX", 0}, {"spinRateY", 0}}, KeyAction::DrawNow},
      {'1', {{"lightOn0", 0}}, KeyAction::DrawNow},
      {'2', {{"lightOn1", 1}}, KeyAction::DrawNow},
      {'3', {{"lightOn2", 0}}, KeyAction::DrawNow},
      {'4', {{"lightOn3", 1}}, KeyAction::DrawNow},
      {'5', {{"lightOn4", 0}}, KeyAction::DrawNow},
      {'a', {{"animate", 0}}, KeyAction::NextFrame},
      {'s', {{"animate", 0}, {"spinX", 102}, {"spinY", -53}}, KeyAction::DrawNow},
      {'r',
       {{"envMapOn", 0},
        {"localViewer", 0},
        {"lightOn1", 1},
        {"lightOn3", 1},
        {"lightingOn", 1},
        {"spinRateX", 0},
        {"spinRateY", 0},
        {"spinX", 0},
        {"spinY", 0},
        {"gradientColour", 0},
        {"cullFaces", 0},
        {"viewTurnY", 0},
        {"viewTiltX", 0}},
       KeyAction::DrawNow},
      {'L', {{"lightingOn", 1}}, KeyAction::DrawNow},
      {'l', {{"localViewer", 0}}, KeyAction::DrawNow},
      {'i', {{"specularOn", 1}}, KeyAction::DrawNow},
      {'e', {{"envMapOn", 0}}, KeyAction::DrawNow},
      {'E', {{"modulateTexture", 0}}, KeyAction::DrawNow},
      {'c', {{"cullFaces", 0}}, KeyAction::DrawNow},
      {'o', {{"gradientColour", 0}}, KeyAction::DrawNow},
      {'f', {{"shadeModel", GL_SMOOTH}}, KeyAction::NextFrame},
      {'p', {{"polygonMode", GL_FILL}}, KeyAction::NextFrame},
      {'q', {{"stripPrimitive", GL_QUAD_STRIP}}, KeyAction::NextFrame},
      {'W', {{"turnCount", 8}}, KeyAction::NextFrame},
      {'w', {{"turnCount", 6}}, KeyAction::NextFrame},
      {'N', {{"stepsPerTurn", 7}}, KeyAction::NextFrame},
      {'n', {{"stepsPerTurn", 5}}, KeyAction::NextFrame},
      {'x', {{"viewTiltX", 6}}, KeyAction::DrawNow},
      {'X', {{"viewTiltX", 4}}, KeyAction::DrawNow},
      {'z', {{"viewTurnY", -3}}, KeyAction::DrawNow},
      {'Z', {{"viewTurnY", -5}}, KeyAction::DrawNow},
  };
  return table;
}

const KeyCase* findCase(unsigned char key) {
  for (const KeyCase& c : keyTable()) {
    if (c.key == key)
      return &c;
  }
  return nullptr;
}

Fields withChanges(Fields fields, const Fields& changes) {
  for (const auto& [name, value] : changes) {
    EXPECT_TRUE(fields.count(name)) << "no field " << name;
    fields[name] = value;
  }
  return fields;
}

}  // namespace

TEST(Keys, EveryByteChangesExactlyWhatItsRowSaysAndNothingElse) {
  for (int code = 0; code < 256; ++code) {
    const auto key = static_cast<unsigned char>(code);
    SceneState state = variedState();
    const Fields before = fieldsOf(state);
    const KeyAction action = applyKey(state, key);
    const KeyCase* row = findCase(key);
    const Fields expected = row != nullptr ? withChanges(before, row->changes) : before;
    EXPECT_EQ(fieldsOf(state), expected) << "key " << code << " '" << key << "'";
    EXPECT_EQ(action, row != nullptr ? row->action : KeyAction::NextFrame) << "key " << code;
  }
}

TEST(Keys, ArrowKeysChangeTheSpinRatesAndNeverTheSpin) {
  const std::map<int, Fields> arrows = {
      {GLUT_KEY_LEFT, {{"spinRateY", -4}}},
      {GLUT_KEY_RIGHT, {{"spinRateY", -2}}},
      {GLUT_KEY_UP, {{"spinRateX", 3}}},
      {GLUT_KEY_DOWN, {{"spinRateX", 1}}},
  };
  for (int code = 0; code < 512; ++code) {
    SceneState state = variedState();
    const Fields before = fieldsOf(state);
    applySpecialKey(state, code);
    const auto arrow = arrows.find(code);
    EXPECT_EQ(fieldsOf(state), arrow != arrows.end() ? withChanges(before, arrow->second) : before)
        << "special key " << code;
  }
}

TEST(Keys, TurnAndStepCountsStopAtFourButHaveNoCeiling) {
  SceneState state;
  state.turnCount = 5;
  state.stepsPerTurn = 5;
  for (int press = 0; press < 3; ++press) {
    applyKey(state, 'w');
    applyKey(state, 'n');
  }
  EXPECT_EQ(state.turnCount, 4);
  EXPECT_EQ(state.stepsPerTurn, 4);

  state.turnCount = 100000;
  applyKey(state, 'W');
  EXPECT_EQ(state.turnCount, 100001);
  // Past the int32 range the counters wrap by defined arithmetic instead of overflowing.
  state.turnCount = std::numeric_limits<std::int32_t>::max();
  state.stepsPerTurn = std::numeric_limits<std::int32_t>::max();
  applyKey(state, 'W');
  applyKey(state, 'N');
  EXPECT_EQ(state.turnCount, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(state.stepsPerTurn, std::numeric_limits<std::int32_t>::min());
}

TEST(Keys, RatesAndViewAnglesWrapAtTheEndsOfInt32) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  SceneState state;
  state.spinRateX = kMax;
  state.spinRateY = kMin;
  state.viewTiltX = kMin;
  state.viewTurnY = kMax;
  applySpecialKey(state, GLUT_KEY_UP);
  applySpecialKey(state, GLUT_KEY_LEFT);
  applyKey(state, 'X');
  applyKey(state, 'z');
  EXPECT_EQ(state.spinRateX, kMin);
  EXPECT_EQ(state.spinRateY, kMax);
  EXPECT_EQ(state.viewTiltX, kMax);
  EXPECT_EQ(state.viewTurnY, kMin);

  state.spinX = kMax;
  state.spinRateX = 1;
  applyKey(state, 's');
  EXPECT_EQ(state.spinX, kMin);
}
