// The viewer's command line: its own options, and GLUT's, which are handed on to glutInit.
#pragma once

#include <string>
#include <vector>

#include "app/window_request.h"
#include "run/run_plan.h"

inline constexpr int kMaxSamples = 16;
inline constexpr int kMaxSwapInterval = 8;

struct Options {
  bool help = false;
  bool version = false;
  bool info = false;
  WindowRequest window;
  std::vector<std::string> envMaps;   // every --env-map, files or folders; none: ./env.ppm
  RunPlan run;                        // what the run is asked beyond the plain loop
  std::vector<std::string> glutArgs;  // argv for glutInit: the program name and GLUT's own options
  std::string error;                  // what was wrong with the command line; empty when nothing
};

// Reads argv (permuting it, as getopt does). Unknown options, missing arguments and bad values
// are reported in `error`, naming the option.
Options parseOptions(int argc, char** argv);

// Each viewer option as --help lists it: its names and value ("--frames N"), and its words.
struct OptionHelp {
  std::string names;
  std::string words;
};
std::vector<OptionHelp> optionHelp();
