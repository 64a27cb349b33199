// Counts and angles that keys change: floors, and wrapping by defined arithmetic. What each
// key does to a frame is checked call by call in call_stream_gl_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/usage.h"
#include "input/key_script.h"
#include "input/keyboard.h"

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
  applySpecialKey(state, kKeyUp);
  applySpecialKey(state, kKeyLeft);
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

namespace {

// The keys a documentation table names, from its key column: each key quoted (`W`, or as the
// manual's .B/.BR arguments), Escape by name, and the keys between two joined by a range.
std::set<int> keysNamed(const std::string& column) {
  std::set<int> keys;
  std::istringstream in(column);
  int last = -1;
  bool range = false;
  for (std::string word; in >> word;) {
    word.erase(
        std::remove_if(word.begin(), word.end(), [](char c) { return c == '`' || c == '"'; }),
        word.end());
    if (word == "to" || word == "\u2026" || word == "…") {
      range = true;
      continue;
    }
    const int key = word == "Escape" ? kEscapeKey : word.size() == 1 ? word[0] : -1;
    if (key < 0 || word == "/") {
      continue;
    }
    for (int between = range ? last + 1 : key; between <= key; ++between) {
      keys.insert(between);
    }
    last = key;
    range = false;
  }
  return keys;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The keys --help's key paragraph names: the first word of each of its comma-separated
// entries, as "1-5" or "W/w".
std::set<int> keysInHelp() {
  const std::string help = usageText("velkarin");
  const std::size_t start = help.find("Keys:") + 5;
  std::istringstream entries(help.substr(start, help.find("In --keys") - start));
  std::set<int> keys;
  for (std::string entry; std::getline(entries, entry, ',');) {
    std::istringstream words(entry);
    std::string first;
    words >> first;
    if (first.size() == 3 && (first[1] == '-' || first[1] == '/')) {
      first = std::string(1, first[0]) + (first[1] == '-' ? " to " : " ") + first[2];
    }
    const std::set<int> named = keysNamed(first);
    keys.insert(named.begin(), named.end());
  }
  return keys;
}

}  // namespace

TEST(Keys, TheHelpTheReadmeAndTheManualListEveryKeyOfTheTableAndNoOther) {
  std::set<int> table;
  for (const KeyCommand& command : keyTable()) {
    table.insert(command.key);
  }
  const std::string readme = fileText(VELKARIN_SOURCE "/README.md");
  const std::size_t keys = readme.find("\n## Keys\n");
  std::istringstream readmeLines(readme.substr(keys, readme.find("\n## ", keys + 1) - keys));
  std::set<int> inReadme;
  for (std::string line; std::getline(readmeLines, line);) {
    if (line.rfind("| ", 0) == 0) {
      const std::set<int> named = keysNamed(line.substr(2, line.find(" |", 2) - 2));
      inReadme.insert(named.begin(), named.end());
    }
  }
  EXPECT_EQ(inReadme, table);
  const std::string manual = fileText(VELKARIN_SOURCE "/docs/velkarin.1");
  std::istringstream manualLines(
      manual.substr(manual.find(".SH KEYS"), manual.find(".SH MOUSE") - manual.find(".SH KEYS")));
  std::set<int> inManual;
  for (std::string line; std::getline(manualLines, line);) {
    if (line.rfind(".B ", 0) == 0 || line.rfind(".BR ", 0) == 0) {
      const std::set<int> keys = keysNamed(line.substr(line.find(' ')));
      inManual.insert(keys.begin(), keys.end());
    }
  }
  EXPECT_EQ(inManual, table);
  EXPECT_EQ(keysInHelp(), table);
}
