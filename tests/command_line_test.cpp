// The command line, read against the README's list of options, and the --fps readout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame_counter.h"
#include "app/options.h"

namespace {

struct OptionCase {
  std::vector<std::string> args;
  bool help, version, fps;
  std::string envMap;
  std::vector<std::string> glutArgs;  // after the program name
  std::string error;
};

}  // namespace

TEST(CommandLine, ReadsEveryOptionAndHandsGlutItsOwn) {
  const std::vector<OptionCase> cases = {
      {{}, false, false, false, "", {}, ""},
      {{"--help"}, true, false, false, "", {}, ""},
      {{"-h"}, true, false, false, "", {}, ""},
      {{"--version"}, false, true, false, "", {}, ""},
      {{"--env-map", "maps/sky.ppm"}, false, false, false, "maps/sky.ppm", {}, ""},
      {{"--env-map=sky.ppm", "--fps"}, false, false, true, "sky.ppm", {}, ""},
      {{"-display", ":1", "--fps", "-geometry", "300x80+0+0", "-sync", "-iconic"},
       false,
       false,
       true,
       "",
       {"-display", ":1", "-geometry", "300x80+0+0", "-sync", "-iconic"},
       ""},
      {{"--display", ":2", "-direct"}, false, false, false, "", {"-display", ":2", "-direct"}, ""},
      {{"--bogus"}, false, false, false, "", {}, "unknown option '--bogus'"},
      {{"--fps", "-x"}, false, false, true, "", {}, "unknown option '-x'"},
      {{"--env-map"}, false, false, false, "", {}, "option '--env-map' needs an argument"},
      {{"--env-map", ""}, false, false, false, "", {}, "option '--env-map' needs a file name"},
      {{"--env-map="}, false, false, false, "", {}, "option '--env-map' needs a file name"},
      {{"-display"}, false, false, false, "", {}, "option '-display' needs an argument"},
      {{"stray"}, false, false, false, "", {}, "unexpected argument 'stray'"},
  };
  for (const OptionCase& c : cases) {
    const std::string given = testing::PrintToString(c.args);
    std::vector<std::string> words = {"velkarin"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
      argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const Options options = parseOptions(static_cast<int>(words.size()), argv.data());
    EXPECT_EQ(options.error, c.error) << given;
    if (!c.error.empty()) {
      continue;
    }
    EXPECT_EQ(options.help, c.help) << given;
    EXPECT_EQ(options.version, c.version) << given;
    EXPECT_EQ(options.fps, c.fps) << given;
    EXPECT_EQ(options.envMap, c.envMap) << given;
    const std::vector<std::string> glutArgs(options.glutArgs.begin() + 1, options.glutArgs.end());
    EXPECT_EQ(options.glutArgs[0], std::string("velkarin")) << given;
    EXPECT_EQ(glutArgs, c.glutArgs) << given;
  }
}

TEST(FrameCounter, ReportsTheFramesOfEachFiveSecondsInTheFormDemoUsersKnow) {
  FrameCounter counter;
  EXPECT_EQ(countFrame(counter, 100.0), "");  // starts the count
  for (int frame = 1; frame < 300; ++frame) {
    ASSERT_EQ(countFrame(counter, 100.0 + frame / 60.0), "") << frame;
  }
  EXPECT_EQ(countFrame(counter, 105.0), "300 frames in 5.0 seconds = 60.000 FPS\n");
  EXPECT_EQ(countFrame(counter, 107.0), "");
  EXPECT_EQ(countFrame(counter, 110.5), "2 frames in 5.5 seconds = 0.364 FPS\n");
}
