#include "run/readout.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "input/keyboard.h"

namespace {

HudLine line(const std::string& key, const std::string& value) {
  return {{key + " ", kHudLabelColour}, {value, kHudValueColour}};
}

// The readout's own order for the key table's switches: the torus's shape and shading first,
// then the lighting and the map, then the animation. Any switch it leaves out follows.
constexpr char kSwitchOrder[] = "fpqLlieEcoa";

std::size_t placeOf(unsigned char key) {
  const std::string_view order = kSwitchOrder;
  return std::min(order.find(static_cast<char>(key)), order.size());
}

// The key table's switches in the readout's order: found once, as the table never changes.
const std::vector<KeyCommand>& switchesInOrder() {
  static const std::vector<KeyCommand> switches = [] {
    std::vector<KeyCommand> found;
    std::copy_if(keyTable().begin(), keyTable().end(), std::back_inserter(found),
                 [](const KeyCommand& command) { return command.isOn != nullptr; });
    std::stable_sort(found.begin(), found.end(), [](const KeyCommand& a, const KeyCommand& b) {
      return placeOf(a.key) < placeOf(b.key);
    });
    return found;
  }();
  return switches;
}

// The key table's switches, each by its key and the word for its state.
std::vector<HudLine> switchLines(const SceneState& s) {
  std::vector<HudLine> lines;
  for (const KeyCommand& command : switchesInOrder()) {
    lines.push_back(line(std::string(1, static_cast<char>(command.key)),
                         command.isOn(s) ? command.onWords : command.offWords));
  }
  return lines;
}

// The readout's font has the printable ASCII characters only: any other character of a UTF-8
// name is drawn as one '?', however many bytes it takes, and so is each byte that begins none
// and each sequence cut short.
std::string drawableName(const std::string& utf8) {
  std::string shown;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 1;
    std::size_t next = at + 1;
    while (next < at + length && next < utf8.size() &&
           (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) {
      ++next;
    }
    // A sequence cut short is one character gone wrong: one '?' for all of it.
    shown += length == 1 && lead >= 0x20 && lead < 0x7F ? utf8[at] : '?';
    at = next;
  }
  return shown;
}

std::string twoNumbers(std::int32_t a, std::int32_t b) {
  return std::to_string(a) + " " + std::to_string(b);
}

std::vector<HudLine> figureLines(const SceneState& s, const HudFigures& figures) {
  HudLine lights;  // the keys that switch them, in their colours
  for (int k = 0; k < kLightCount; ++k) {
    lights.push_back({std::to_string(k + 1) + (k + 1 < kLightCount ? " " : ""),
                      s.lightOn[k] ? hudLightColour(k) : kHudOffColour});
  }
  std::vector<HudLine> lines = {
      line("turns", std::to_string(s.turnCount)),
      line("steps", std::to_string(s.stepsPerTurn)),
      line("spin", twoNumbers(s.spinRateX, s.spinRateY)),
      line("view", twoNumbers(s.viewTiltX, s.viewTurnY)),
      lights,
      line("frame", std::to_string(figures.frame)),
  };
  if (!figures.map.empty()) {
    lines.push_back(line("map", drawableName(figures.map)));
  }
  if (figures.framesPerSecond >= 0.0) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", figures.framesPerSecond);
    lines.push_back(line("fps", rate));
  }
  return lines;
}

}  // namespace

HudText readoutText(const SceneState& state, const HudFigures& figures) {
  return {switchLines(state), figureLines(state, figures)};
}
