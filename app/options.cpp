#include "app/options.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <deque>

namespace {

// Applies an option's value (null for a flag) to the options; returns "" or what is wrong with
// the value, in words that follow the option's name.
using Apply = std::string (*)(Options& options, const char* value);

struct ViewerOption {
  const char* name;
  char shortName;     // 0 when it has none
  const char* value;  // the value's name in --help; null for a flag
  const char* help;
  Apply apply;
};

std::string set(bool& flag) {
  flag = true;
  return "";
}

std::string fileName(std::string& field, const char* value) {
  // An empty name would quietly mean no file at all.
  if (*value == '\0') {
    return "needs a file name";
  }
  field = value;
  return "";
}

// A whole number from 1 to `most`, with nothing around it.
std::string count(int& field, const char* value, int most) {
  const char* end = value + std::char_traits<char>::length(value);
  int number = 0;
  const auto [stop, error] = std::from_chars(value, end, number);
  if (error != std::errc() || stop != end || number < 1 || number > most) {
    return "takes a whole number from 1 to " + std::to_string(most) + ", not '" + value + "'";
  }
  field = number;
  return "";
}

std::string keyScript(std::vector<ScriptKey>& keys, const char* value) {
  std::string unknown;
  if (*value == '\0') {
    return "needs at least one key";
  }
  if (!parseKeyScript(value, &keys, &unknown)) {
    return "has an unknown key '" + unknown + "' in '" + value + "'";
  }
  return "";
}

// In the order --help, the manual page and the README list them.
const ViewerOption kViewerOptions[] = {
    {"help", 'h', nullptr, "show this help and exit",
     [](Options& o, const char*) { return set(o.help); }},
    {"version", 0, nullptr, "show the version and exit",
     [](Options& o, const char*) { return set(o.version); }},
    {"env-map", 0, "FILE", "read the environment map from FILE (binary PPM) instead of ./env.ppm",
     [](Options& o, const char* v) { return fileName(o.envMap, v); }},
    {"fps", 0, nullptr, "print the frame rate every 5 seconds, and for a whole --frames run",
     [](Options& o, const char*) { return set(o.fps); }},
    {"keys", 0, "KEYS", "press KEYS, one per frame from the first frame on (names below)",
     [](Options& o, const char* v) { return keyScript(o.run.keys, v); }},
    {"frames", 0, "N", "draw N frames, then exit with status 0",
     [](Options& o, const char* v) { return count(o.run.frames, v, INT_MAX); }},
    {"screenshot", 0, "FILE", "with --frames, save the last frame drawn as a PNG picture",
     [](Options& o, const char* v) { return fileName(o.run.screenshot, v); }},
    {"frame-rate", 0, "N", "draw at most N frames a second (1 to 1000)",
     [](Options& o, const char* v) { return count(o.run.frameRate, v, kMaxFrameRate); }},
    {"info", 0, nullptr, "print the GL vendor, renderer and version before the tex line",
     [](Options& o, const char*) { return set(o.info); }},
    {"fullscreen", 0, nullptr, "fill the screen",
     [](Options& o, const char*) { return set(o.fullscreen); }},
};
constexpr int kViewerOptionCount = sizeof kViewerOptions / sizeof kViewerOptions[0];

struct GlutOption {
  const char* name;
  bool hasValue;
};

// GLUT's own options, handed on as they came.
const GlutOption kGlutOptions[] = {
    {"display", true}, {"geometry", true}, {"iconic", false}, {"indirect", false},
    {"direct", false}, {"gldebug", false}, {"sync", false},
};
constexpr int kGlutOptionCount = sizeof kGlutOptions / sizeof kGlutOptions[0];

// getopt's codes: a viewer option's index past 256, a GLUT option's past 512.
constexpr int kViewerCode = 256;
constexpr int kGlutCode = 512;

// Long options may be written with one dash or two; GLUT's own are written with one.
std::vector<option> getoptTable() {
  std::vector<option> table;
  for (int i = 0; i < kViewerOptionCount; ++i) {
    const ViewerOption& o = kViewerOptions[i];
    table.push_back({o.name, o.value ? required_argument : no_argument, nullptr, kViewerCode + i});
  }
  for (int i = 0; i < kGlutOptionCount; ++i) {
    const GlutOption& o = kGlutOptions[i];
    table.push_back({o.name, o.hasValue ? required_argument : no_argument, nullptr, kGlutCode + i});
  }
  table.push_back({nullptr, 0, nullptr, 0});
  return table;
}

// GLUT is given the option under its own one-dash name, and its value.
void handOnToGlut(Options& options, const GlutOption& glut, char* value) {
  static std::deque<std::string> names;  // glutInit's argv points into it: it only grows
  names.push_back(std::string("-") + glut.name);
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

// What one getopt code does to the options; "" or what is wrong.
std::string takeOption(Options& options, int code, char** argv) {
  for (int i = 0; i < kViewerOptionCount; ++i) {
    if (code == kViewerOptions[i].shortName) {
      code = kViewerCode + i;
    }
  }
  if (code >= kGlutCode) {
    const GlutOption& glut = kGlutOptions[code - kGlutCode];
    handOnToGlut(options, glut, glut.hasValue ? optarg : nullptr);
    return "";
  }
  if (code >= kViewerCode) {
    const ViewerOption& viewer = kViewerOptions[code - kViewerCode];
    const std::string problem = viewer.apply(options, optarg);
    return problem.empty() ? "" : std::string("option '--") + viewer.name + "' " + problem;
  }
  return badOption(argv, code);
}

}  // namespace

Options parseOptions(int argc, char** argv) {
  Options options;
  options.glutArgs.push_back(argv[0]);
  const std::vector<option> table = getoptTable();
  optind = 0;  // a fresh scan, however often this is called
  opterr = 0;  // errors are reported by the caller, in the viewer's words
  int code = 0;
  while (options.error.empty() &&
         (code = getopt_long_only(argc, argv, ":h", table.data(), nullptr)) != -1) {
    options.error = takeOption(options, code, argv);
  }
  if (options.error.empty() && optind < argc) {
    options.error = std::string("unexpected argument '") + argv[optind] + "'";
  }
  if (options.error.empty() && !options.run.screenshot.empty() && options.run.frames == 0) {
    options.error = "option '--screenshot' needs '--frames'";
  }
  return options;
}

std::string usageText(const char* program) {
  std::string text = std::string("Usage: ") + program + R"( [OPTION]...
Shows a helical torus under five coloured, orbiting lights.

)";
  for (const ViewerOption& o : kViewerOptions) {
    std::string left = o.shortName ? std::string("  -") + o.shortName + ", --" : "      --";
    left += o.name + (o.value ? std::string(" ") + o.value : "");
    left.resize(std::max<std::size_t>(left.size() + 1, 24), ' ');
    text += left + o.help + "\n";
  }
  return text + R"(
GLUT's own options (-display, -geometry, -iconic, -direct, -indirect, -gldebug, -sync)
are handed on to GLUT.

Keys: 1-5 lights, L lighting, l local viewer, i highlights, e environment map, E decal,
  c culling, o gradient, f shading, p wire-frame, q strip, W/w turns, N/n steps,
  x/X tilt, z/Z turn, arrows spin, 0 stop spin, a pause, s step, r reset, Escape quit.
  In --keys, each key stands for itself; <left> <right> <up> <down> are the arrows and
  <esc> is Escape, as in --keys 'pf<right><right>e'.
Mouse: drag with the left button to turn and tilt the scene.
)";
}

std::string versionText() {
  return std::string("velkarin ") + VELKARIN_VERSION + "\n";
}
