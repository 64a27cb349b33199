#include "app/usage.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "app/options.h"
#include "text/text_fields.h"
#include "input/keyboard.h"

namespace {

constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kOptionIndent = 24;  // where an option's words start
constexpr std::size_t kKeysIndent = 2;

// `units` (words, or groups of words kept on one line) wrapped to kHelpWidth columns, the first
// line after `left`, the others indented.
std::string wrapped(std::string left, const std::vector<std::string>& units, std::size_t indent) {
  left.resize(std::max(left.size() + 1, indent), ' ');
  std::string text = left;
  std::size_t column = left.size();
  bool lineStarted = false;
  for (const std::string& unit : units) {
    if (lineStarted && column + 1 + unit.size() > kHelpWidth) {
      text += "\n" + std::string(indent, ' ');
      column = indent;
    } else if (lineStarted) {
      text += ' ';
      ++column;
    }
    text += unit;
    column += unit.size();
    lineStarted = true;
  }
  return text + "\n";
}

// The key table's keys and words, in its order, with the arrows last: "L lighting," each.
std::vector<std::string> keyWords() {
  std::vector<std::string> units;
  for (const KeyCommand& command : keyTable()) {
    if (command.helpKeys != nullptr) {
      units.push_back(std::string(command.helpKeys) + " " + command.helpWords + ",");
    }
  }
  units.push_back(std::string(kSpecialKeyHelp) + ".");
  return units;
}

}  // namespace

std::string usageText(const char* program) {
  // The name it was started by, without the folder it was found in.
  const std::string name = std::filesystem::path(program).filename().string();
  std::string text = "Usage: " + name + R"( [OPTION]... [MAP]...
Shows a helical torus under five coloured, orbiting lights; each MAP is shown
as --env-map MAP shows it.

)";
  for (const OptionHelp& option : optionHelp()) {
    std::string names = "  " + option.names;
    if (names.size() + 2 > kOptionIndent) {
      text += names + "\n";  // no room for two spaces before the words: they go below
      names.clear();
    }
    text += wrapped(names, wordsOf(option.words), kOptionIndent);
  }
  return text + R"(
An option given more than once takes its last value; --env-map adds a map each
time, in the order given, and the MAPs follow them. GLUT's own options
(-display, -geometry, -direct, -indirect, -gldebug, -sync) are handed on to
GLUT; -geometry WxH+X+Y sets the window's size and place, and -iconic starts it
iconified. A --frames run cut short by closing the window (status 1) or by
SIGINT, SIGTERM or SIGHUP (128 + the signal) says how many frames it drew.

)" + wrapped("Keys:", keyWords(), kKeysIndent) +
         R"(  In --keys, each key stands for itself; <left> <right> <up> <down> are the
  arrows, <pageup> <pagedown> the page keys and <esc> is Escape, as in
  --keys 'pf<right><right>e'.
Mouse: drag with the left button to turn and tilt the scene.
)";
}

std::string versionText() {
  return std::string("velkarin ") + VELKARIN_VERSION + "\n";
}
