// The viewer's command line: its own options, and GLUT's, which are handed on to glutInit.
#pragma once

#include <string>
#include <vector>

#include "run/run_plan.h"

inline constexpr int kMaxSamples = 16;
inline constexpr int kMaxSwapInterval = 8;

// What the command line asks of the window beyond its usual size and place.
struct WindowRequest {
  bool fullscreen = false;
  bool iconic = false;         // GLUT's -iconic, which the viewer carries out itself
  bool indirect = false;       // GLUT's -indirect
  bool sizeGiven = false;      // GLUT's -geometry names a width and height
  bool positionGiven = false;  // GLUT's -geometry names a position
};

struct Options {
  bool help = false;
  bool version = false;
  bool info = false;
  WindowRequest window;
  std::vector<std::string> envMaps;  // every --env-map, files or folders; none: ./env.ppm
  RunPlan run;                       // what the run is asked beyond the plain loop
  std::vector<char*> glutArgs;       // argv for glutInit: the program name and GLUT's own options
  std::string error;                 // what was wrong with the command line; empty when nothing
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
