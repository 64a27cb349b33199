// What the readout of --hud says of the scene; how it looks is checked on real pictures in
// viewer_e2e_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "files/natural_order.h"
#include "input/key_script.h"
#include "input/keyboard.h"
#include "run/readout.h"

namespace {

// The readout's lines as plain text: the switches' box, then the figures' box.
std::vector<std::string> readoutLines(const SceneState& state, const HudFigures& figures) {
  const HudText text = readoutText(state, figures);
  std::vector<std::string> lines;
  for (const std::vector<HudLine>* box : {&text.switches, &text.figures}) {
    for (const HudLine& pieces : *box) {
      std::string words;
      for (const HudPiece& piece : pieces) {
        words += piece.text;
      }
      lines.push_back(words);
    }
  }
  return lines;
}

}  // namespace

TEST(Readout, NamesWhatTheKeysSet) {
  SceneState state;
  const HudFigures figures{41, -1.0, ""};
  const std::vector<std::string> before = readoutLines(state, figures);
  for (const char key : std::string("pfeqlLc3W")) {
    applyKey(state, static_cast<unsigned char>(key));
  }
  applySpecialKey(state, kKeyLeft);
  const std::vector<std::string> after = readoutLines(state, figures);
  const std::vector<std::string> expected = {
      "f smooth", "p filled",   "q quads",  "L unlit",   "l local",  "i shiny",
      "e mapped", "E modulate", "c culled", "o plain",   "a moving", "turns 11",
      "steps 8",  "spin 0 -1",  "view 0 0", "1 2 3 4 5", "frame 41"};
  EXPECT_EQ(after, expected);
  EXPECT_NE(before, after);
  EXPECT_EQ(readoutLines(state, HudFigures{1, 59.94, ""}).back(), "fps 59.9");
  // Stepping through several maps, the figures name the one shown, above the rate.
  const std::vector<std::string> paging = readoutLines(state, HudFigures{1, 59.94, "brass.png"});
  EXPECT_EQ(std::vector<std::string>(paging.end() - 2, paging.end()),
            std::vector<std::string>({"map brass.png", "fps 59.9"}));
  // A character the font lacks is one '?', however many bytes it takes; so is a stray byte.
  for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
           {"\xC3\x86r\xC3\xB8-\xC3\xBC.png (3/12)", "map ?r?-?.png (3/12)"},
           {"\xE2\x82\xAC\xF0\x9F\x98\x80\t.png", "map ???.png"},
           {"\xFF\xC3(\xE2\x82.png",
            "map ?"
            "?(?.png"}}) {
    EXPECT_EQ(readoutLines(state, HudFigures{1, -1.0, name}).back(), shown) << name;
  }
}

TEST(Readout, AFolderIsTakenInTheOrderAFileManagerShowsInTheUsersLocale) {
  const std::vector<std::string> names = {"Zinc.png",         "10.png",
                                          "brass.png",        "2.png",
                                          "b02.png",          "B2.png",
                                          "b1.png",           "\xC3\x86r.png",
                                          "\xE6\x97\xA5.png", "\xC3\xA9t\xC3\xA9.png"};
  const struct {
    const char* locale;
    std::vector<std::string> sorted;
  } cases[] = {
      // Unicode's root order: Æ among the A's, é among the E's, 日 after every Latin letter.
      {"",
       {"2.png", "10.png", "\xC3\x86r.png", "b1.png", "b02.png", "B2.png", "brass.png",
        "\xC3\xA9t\xC3\xA9.png", "Zinc.png", "\xE6\x97\xA5.png"}},
      // Danish puts its own letters after Z, and capitals first.
      {"da_DK",
       {"2.png", "10.png", "b1.png", "B2.png", "b02.png", "brass.png", "\xC3\xA9t\xC3\xA9.png",
        "Zinc.png", "\xC3\x86r.png", "\xE6\x97\xA5.png"}},
  };
  for (const auto& test : cases) {
    const auto order = nameOrderFor(test.locale);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end(), [&](const std::string& a, const std::string& b) {
      return comesBefore(*order, a, b);
    });
    EXPECT_EQ(sorted, test.sorted) << test.locale;
  }
  const struct {
    const char* lcAll;
    const char* lcCollate;
    const char* lang;
    std::string locale;
  } settings[] = {
      {nullptr, nullptr, nullptr, ""},
      {nullptr, nullptr, "C.UTF-8", ""},
      {"", "POSIX", "de_DE.UTF-8", ""},
      {nullptr, nullptr, "de_DE.UTF-8@euro", "de_DE"},
      {nullptr, "da_DK.UTF-8", "C.UTF-8", "da_DK"},
      {"sv_SE", "C", "C", "sv_SE"},
  };
  for (const auto& set : settings) {
    EXPECT_EQ(collationLocale(set.lcAll, set.lcCollate, set.lang), set.locale) << set.locale;
  }
}
