#include "app/options.h"

#include <getopt.h>

#include <deque>

namespace {

enum OptionCode {
  kHelp = 'h',
  kVersion = 256,
  kEnvMap,
  kFps,
  kGlutWithValue,  // GLUT's options, handed on as they came
  kGlutFlag,
};

// Long options may be written with one dash or two; GLUT's own are written with one.
constexpr option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"env-map", required_argument, nullptr, kEnvMap},
    {"fps", no_argument, nullptr, kFps},
    {"display", required_argument, nullptr, kGlutWithValue},
    {"geometry", required_argument, nullptr, kGlutWithValue},
    {"iconic", no_argument, nullptr, kGlutFlag},
    {"indirect", no_argument, nullptr, kGlutFlag},
    {"direct", no_argument, nullptr, kGlutFlag},
    {"gldebug", no_argument, nullptr, kGlutFlag},
    {"sync", no_argument, nullptr, kGlutFlag},
    {nullptr, 0, nullptr, 0},
};

// GLUT is given the option under its own one-dash name, and its value.
void handOnToGlut(Options& options, int index, char* value) {
  static std::deque<std::string> names;  // glutInit's argv points into it: it only grows
  names.push_back(std::string("-") + kOptions[index].name);
  options.glutArgs.push_back(names.back().data());
  if (value != nullptr) {
    options.glutArgs.push_back(value);
  }
}

std::string badOption(char** argv, int code) {
  const char* given = argv[optind - 1];
  if (code == ':') {
    return std::string("option '") + given + "' needs an argument";
  }
  return std::string("unknown option '") + given + "'";
}

}  // namespace

Options parseOptions(int argc, char** argv) {
  Options options;
  options.glutArgs.push_back(argv[0]);
  optind = 0;  // a fresh scan, however often this is called
  opterr = 0;  // errors are reported by the caller, in the viewer's words
  for (;;) {
    int index = -1;
    const int code = getopt_long_only(argc, argv, ":h", kOptions, &index);
    if (code == -1) {
      break;
    }
    switch (code) {
      case kHelp:
        options.help = true;
        break;
      case kVersion:
        options.version = true;
        break;
      case kEnvMap:
        // An empty name would quietly fall back to ./env.ppm, as if none were given.
        if (*optarg == '\0') {
          options.error = "option '--env-map' needs a file name";
          return options;
        }
        options.envMap = optarg;
        break;
      case kFps:
        options.fps = true;
        break;
      case kGlutWithValue:
      case kGlutFlag:
        handOnToGlut(options, index, code == kGlutWithValue ? optarg : nullptr);
        break;
      default:
        options.error = badOption(argv, code);
        return options;
    }
  }
  if (optind < argc) {
    options.error = std::string("unexpected argument '") + argv[optind] + "'";
  }
  return options;
}

std::string usageText(const char* program) {
  return std::string("Usage: ") + program + R"( [OPTION]...
Shows a helical torus under five coloured, orbiting lights.

  -h, --help          show this help and exit
      --version       show the version and exit
      --env-map FILE  read the environment map from FILE (binary PPM) instead of ./env.ppm
      --fps           print the frame rate every 5 seconds
GLUT's own options (-display, -geometry, -iconic, -direct, -indirect, -gldebug, -sync)
are handed on to GLUT.

Keys: 1-5 lights, L lighting, l local viewer, i highlights, e environment map, E decal,
  c culling, o gradient, f shading, p wire-frame, q strip, W/w turns, N/n steps,
  x/X tilt, z/Z turn, arrows spin, 0 stop spin, a pause, s step, r reset, Escape quit.
Mouse: drag with the left button to turn and tilt the scene.
)";
}

std::string versionText() {
  return std::string("velkarin ") + VELKARIN_VERSION + "\n";
}
