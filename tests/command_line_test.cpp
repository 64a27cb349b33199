// The command line, read against the README's list of options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/options.h"
#include "app/usage.h"
#include "files/file_name.h"
#include "picture/numbered_name.h"
#include "run/exit_status.h"

namespace {

// What the command line asked for, in a few words: "" for nothing, else the options set, such
// as "fps env=sky.ppm frames=40 keys=p,f,<2> glut=-display,:1", or "error: ...".
std::string asked(const std::vector<std::string>& args) {
  std::vector<std::string> words = {"velkarin"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = argvOf(words);
  const Options o = parseOptions(static_cast<int>(words.size()), argv.data());
  if (!o.error.empty()) {
    return "error: " + o.error;
  }
  std::string text;
  const auto add = [&](bool on, const std::string& word) { text += on ? " " + word : ""; };
  add(o.help, "help");
  add(o.version, "version");
  add(o.run.fps, "fps");
  add(o.info, "info");
  add(o.run.hud, "hud");
  add(o.run.samples != 0, "samples=" + std::to_string(o.run.samples));
  add(!o.run.record.empty(), "record=" + o.run.record);
  add(!o.run.replay.empty(), "replay=" + o.run.replay);
  add(o.window.fullscreen, "fullscreen");
  add(o.window.iconic, "iconic");
  add(o.window.sizeGiven, "size");
  add(o.window.positionGiven, "place");
  for (const std::string& map : o.envMaps) {
    add(true, "env=" + map);
  }
  add(o.run.frames != 0, "frames=" + std::to_string(o.run.frames));
  add(o.run.frameRate != 0, "rate=" + std::to_string(o.run.frameRate));
  add(!o.run.screenshot.empty(), (o.run.everyFrame ? "shots=" : "shot=") + o.run.screenshot);
  add(!o.run.results.empty(), "results=" + o.run.results);
  add(o.run.swapInterval >= 0, "swap=" + std::to_string(o.run.swapInterval));
  std::string keys;
  for (const ScriptKey& key : o.run.keys) {
    keys += (keys.empty() ? "" : ",") +
            (key.special ? "<" + std::to_string(key.code) + ">" : std::string(1, char(key.code)));
  }
  add(!keys.empty(), "keys=" + keys);
  std::string glut;
  for (std::size_t i = 1; i < o.glutArgs.size(); ++i) {
    glut += (i > 1 ? "," : "") + std::string(o.glutArgs[i]);
  }
  add(!glut.empty(), "glut=" + glut);
  EXPECT_EQ(o.glutArgs[0], std::string("velkarin"));
  return text.empty() ? "" : text.substr(1);
}

}  // namespace

TEST(CommandLine, ReadsEveryOptionAndHandsGlutItsOwn) {
  const std::string notFrames = "error: option '--frames' takes a whole number from 1 to ";
  const std::string badGeometry =
      "error: option '-geometry' takes WxH, +X+Y or WxH+X+Y, each side from 1 to 16384, not ";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, ""},
      {{"--help"}, "help"},
      {{"-h"}, "help"},
      {{"--version"}, "version"},
      {{"--env-map", "maps/sky.ppm"}, "env=maps/sky.ppm"},
      {{"--env-map=sky.ppm", "--fps"}, "fps env=sky.ppm"},
      {{"-display", ":1", "--fps", "-geometry", "300x80+0+0", "-sync", "-iconic"},
       "fps iconic size place glut=-display,:1,-geometry,300x80+0+0,-sync"},
      {{"-geometry", "=300X80"}, "size glut=-geometry,=300X80"},
      {{"-geometry", "-0+5"}, "place glut=-geometry,-0+5"},
      {{"-geometry", "16384x1"}, "size glut=-geometry,16384x1"},
      {{"-geometry", "0x10"}, badGeometry + "'0x10'"},
      {{"-geometry", "16385x10+0+0"}, badGeometry + "'16385x10+0+0'"},
      {{"-geometry", "100x100 "}, badGeometry + "'100x100 '"},
      {{"-geometry", "100x100+1+1z"}, badGeometry + "'100x100+1+1z'"},
      {{"-geometry", "abc"}, badGeometry + "'abc'"},
      {{"-geometry", "100"}, badGeometry + "'100'"},
      {{"-geometry", "200x100+5"}, badGeometry + "'200x100+5'"},
      {{"-geometry", "x100"}, badGeometry + "'x100'"},
      {{"-geometry", "="}, badGeometry + "'='"},
      {{"--display", ":2", "-direct"}, "glut=-display,:2,-direct"},
      {{"--keys", "pfe", "--frames", "40", "--screenshot", "a.png"},
       "frames=40 shot=a.png keys=p,f,e"},
      {{"--keys=<left><right><up><down><esc>0"}, "keys=<1>,<2>,<3>,<4>,\x1b,0"},
      {{"--frames=2147483647", "--frame-rate", "1000", "--info", "--fullscreen"},
       "info fullscreen frames=2147483647 rate=1000"},
      {{"--frame-rate", "1"}, "rate=1"},
      {{"--hud", "--samples", "16", "--record", "a.txt", "--replay", "b.txt", "--screenshot", "c"},
       "hud samples=16 record=a.txt replay=b.txt shot=c"},
      {{"--samples", "1"}, "error: option '--samples' takes a whole number from 2 to 16, not '1'"},
      {{"--bogus"}, "error: unknown option '--bogus'"},
      {{"--fr", "2"},
       "error: option '--fr' is ambiguous; it could be '--frames' or '--frame-rate'"},
      {{"-f"},
       "error: option '-f' is ambiguous; it could be '--fps', '--frames', '--frame-rate' or "
       "'--fullscreen'"},
      {{"--fps=1"}, "error: option '--fps' takes no value"},
      {{"-sync=1"}, "error: option '-sync' takes no value"},
      {{"--fps", "-x"}, "error: unknown option '-x'"},
      {{"--env-map"}, "error: option '--env-map' needs an argument"},
      {{"--env-map", ""}, "error: option '--env-map' needs a file name"},
      {{"--env-map="}, "error: option '--env-map' needs a file name"},
      {{"-display"}, "error: option '-display' needs an argument"},
      {{""}, "error: a map needs a file name"},
      {{"brass.png", "--env-map", "sky.ppm", "jade.png"}, "env=sky.ppm env=brass.png env=jade.png"},
      {{"--fps", "--", "-x.png"}, "fps env=-x.png"},
      {{"--frames", "0"}, notFrames + "2147483647, not '0'"},
      {{"--frames", "-1"}, notFrames + "2147483647, not '-1'"},
      {{"--frames", "2147483648"}, notFrames + "2147483647, not '2147483648'"},
      {{"--frames", "4x"}, notFrames + "2147483647, not '4x'"},
      {{"--frame-rate", "1001"},
       "error: option '--frame-rate' takes a whole number from 1 to "
       "1000, not '1001'"},
      {{"--keys", ""}, "error: option '--keys' needs at least one key"},
      {{"--keys", "pb"}, "error: option '--keys' has an unknown key 'b' in 'pb'"},
      {{"--keys", "p<home>"}, "error: option '--keys' has an unknown key '<home>' in 'p<home>'"},
      {{"--keys", "<left"}, "error: option '--keys' has an unknown key '<left' in '<left'"},
      {{"--keys", "p\xC3\xA9"},
       "error: option '--keys' has an unknown key '\xC3\xA9' in 'p\xC3\xA9'"},
      {{"--keys", "\xE2\x82"},
       "error: option '--keys' has an unknown key '\xE2\x82' in '\xE2\x82'"},
      {{"--keys", "\xC3p"}, "error: option '--keys' has an unknown key '\xC3' in '\xC3p'"},
      {{"--screenshot", "a.png"}, "error: option '--screenshot' needs '--frames' or '--replay'"},
      {{"--frames", "9", "--screenshot="}, "error: option '--screenshot' needs a file name"},
      // A picture of every frame: one number, with its zeros; %% a percent sign either way.
      {{"--frames", "9", "--screenshot", "f%04d-100%%.png", "--results", "-"},
       "frames=9 shots=f%04d-100%%.png results=-"},
      {{"--frames", "9", "--screenshot", "%d"}, "frames=9 shots=%d"},
      {{"--frames", "9", "--screenshot", "100%%.png"}, "frames=9 shot=100%.png"},
      {{"--frames", "9", "--screenshot", "%s.png"},
       "error: option '--screenshot' takes a frame number as %d or %0Nd (N up to 19) and a "
       "percent sign as %%, not '%s.png'"},
      {{"--frames", "9", "--screenshot", "%"},
       "error: option '--screenshot' takes a frame number as %d or %0Nd (N up to 19) and a "
       "percent sign as %%, not '%'"},
      {{"--frames", "9", "--screenshot", "%020d"},
       "error: option '--screenshot' takes a frame number as %d or %0Nd (N up to 19) and a "
       "percent sign as %%, not '%020d'"},
      {{"--frames", "9", "--screenshot", "%d-%d"},
       "error: option '--screenshot' takes one frame number, not '%d-%d'"},
      {{"--swap-interval", "0", "--results", "r.json"}, "results=r.json swap=0"},
      {{"--swap-interval", "9"},
       "error: option '--swap-interval' takes a whole number from 0 to 8, not '9'"},
      {{"--results="}, "error: option '--results' needs a file name"},
  };
  for (const auto& [args, expected] : cases) {
    EXPECT_EQ(asked(args), expected) << testing::PrintToString(args);
  }
}

TEST(CommandLine, ANumberedPictureNameTakesEachFramesNumber) {
  const std::vector<std::tuple<std::string, std::int64_t, std::string>> cases = {
      {"f%04d-100%%.png", 37, "f0037-100%.png"},
      {"%d", 2147483648, "2147483648"},
      {"%3d.png", 7, "  7.png"},
      {"%02d", 123, "123"},
      {"a%%d%d", 5, "a%d5"},
  };
  for (const auto& [name, frame, expected] : cases) {
    EXPECT_EQ(numberedName(name, frame), expected) << name;
    // And back: the file's name holds the frame that names it, among the numbers it holds.
    const std::vector<std::int64_t> frames = framesNamingIt(expected);
    EXPECT_NE(std::find(frames.begin(), frames.end(), frame), frames.end()) << expected;
  }
  EXPECT_EQ(framesNamingIt("shot2/0003.png"), (std::vector<std::int64_t>{2, 3}));
  EXPECT_EQ(framesNamingIt("0/none-12345678901234567890.png"), std::vector<std::int64_t>{});
}

// The manual's EXIT STATUS section gives every status the viewer exits with, and no other:
// each is the first word of the line after a .TP (".B 128 + n" for a signal's).
TEST(CommandLine, TheManualListsEveryExitStatusAndNoOther) {
  std::ifstream in(VELKARIN_SOURCE "/docs/velkarin.1");
  const std::string manual(std::istreambuf_iterator<char>(in), {});
  const std::size_t start = manual.find(".SH EXIT STATUS");
  ASSERT_NE(start, std::string::npos);
  std::istringstream section(manual.substr(start, manual.find(".SH ", start + 1) - start));
  std::set<int> listed;
  bool tagged = false;
  for (std::string line; std::getline(section, line);) {
    if (tagged) {
      listed.insert(std::stoi(line.substr(line.find(' '))));
    }
    tagged = line == ".TP";
  }
  std::set<int> statuses;
  for (const ExitStatus status : kExitStatuses) {
    statuses.insert(statusCode(status));
  }
  EXPECT_EQ(listed, statuses);
}

// Each option's words start in one column, two spaces at least from its names: names too long
// for that stand alone, their words on the next line.
TEST(CommandLine, EveryOptionsWordsInHelpStartInOneColumnClearOfItsNames) {
  constexpr std::size_t kColumn = 24;
  const std::string help = usageText("velkarin");
  for (const OptionHelp& option : optionHelp()) {
    const std::size_t at = help.find("  " + option.names + " ");
    const std::size_t alone = help.find("  " + option.names + "\n");
    const std::size_t line = std::min(at, alone) + 2 + option.names.size();
    ASSERT_NE(std::min(at, alone), std::string::npos) << option.names;
    const std::size_t lineStart = help.rfind('\n', line) + 1;
    const std::size_t words = help.find_first_not_of(" \n", line);
    const std::size_t wordsLine = help.rfind('\n', words) + 1;
    EXPECT_EQ(words - wordsLine, kColumn) << option.names;
    EXPECT_TRUE(wordsLine != lineStart || words - line >= 2) << option.names;
  }
}
