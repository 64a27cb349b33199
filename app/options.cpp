#include "app/options.h"

#include "app/geometry.h"
#include "text/text_fields.h"
#include "picture/numbered_name.h"

#include <getopt.h>

#include <algorithm>
#include <climits>
#include <cstring>

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

// A whole number from `least` to `most`, with nothing around it.
std::string count(int& field, const char* value, int most, int least = 1) {
  if (!readWholeNumber(value, least, most, &field)) {
    return "takes a whole number from " + std::to_string(least) + " to " + std::to_string(most) +
           ", not '" + value + "'";
  }
  return "";
}

// Each --env-map adds a map, or a folder of them, to step through.
std::string mapName(std::vector<std::string>& maps, const char* value) {
  std::string name;
  std::string problem = fileName(name, value);
  if (problem.empty()) {
    maps.push_back(name);
  }
  return problem;
}

// A picture's name, which may number the frames to save every one.
std::string pictureName(RunPlan& plan, const char* value) {
  if (std::string problem = fileName(plan.screenshot, value); !problem.empty()) {
    return problem;
  }
  std::string problem = readNumberedName(plan.screenshot, &plan.everyFrame);
  if (problem.empty() && !plan.everyFrame) {
    plan.screenshot = numberedName(plan.screenshot, 0);  // its %% each a percent sign
  }
  return problem;
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
    {"env-map", 0, "FILE",
     "read the map (PPM, PNG, JPEG or a folder of them) from FILE; again for more",
     [](Options& o, const char* v) { return mapName(o.envMaps, v); }},
    {"fps", 0, nullptr, "print the frame rate and frame times every 5 s, and for a --frames run",
     [](Options& o, const char*) { return set(o.run.fps); }},
    {"keys", 0, "KEYS", "press KEYS, one a frame from the first on (names below)",
     [](Options& o, const char* v) { return keyScript(o.run.keys, v); }},
    {"frames", 0, "N", "draw N frames, then exit with status 0",
     [](Options& o, const char* v) { return count(o.run.frames, v, INT_MAX); }},
    {"screenshot", 0, "FILE",
     "with --frames or --replay, save the last frame as PNG; every frame when FILE has a "
     "number (%d, %04d) in it",
     [](Options& o, const char* v) { return pictureName(o.run, v); }},
    {"frame-rate", 0, "N", "draw at most N frames a second (1 to 1000)",
     [](Options& o, const char* v) { return count(o.run.frameRate, v, kMaxFrameRate); }},
    {"record", 0, "FILE", "keep every key and drag, with its frame, in FILE",
     [](Options& o, const char* v) { return fileName(o.run.record, v); }},
    {"replay", 0, "FILE", "replay the session in FILE (- for standard input)",
     [](Options& o, const char* v) { return fileName(o.run.replay, v); }},
    {"hud", 0, nullptr, "show every switch, count and light over the scene",
     [](Options& o, const char*) { return set(o.run.hud); }},
    {"samples", 0, "N", "smooth edges with N samples a pixel (2 to 16)",
     [](Options& o, const char* v) { return count(o.run.samples, v, kMaxSamples, 2); }},
    {"results", 0, "FILE", "write the run's figures as JSON to FILE (- for standard output)",
     [](Options& o, const char* v) { return fileName(o.run.results, v); }},
    {"swap-interval", 0, "N",
     "wait for N screen refreshes a swap (0: none), where the display lets it be set",
     [](Options& o, const char* v) { return count(o.run.swapInterval, v, kMaxSwapInterval, 0); }},
    {"info", 0, nullptr, "print GL's vendor, renderer and version first",
     [](Options& o, const char*) { return set(o.info); }},
    {"fullscreen", 0, nullptr, "fill the screen",
     [](Options& o, const char*) { return set(o.window.fullscreen); }},
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

// GLUT is given the option under its own one-dash name, and its value. -iconic is carried out
// by the viewer once its window exists, and not handed on.
std::string handOnToGlut(Options& options, const GlutOption& glut, char* value) {
  if (std::strcmp(glut.name, "iconic") == 0) {
    options.window.iconic = true;
    return "";
  }
  options.window.indirect = options.window.indirect || std::strcmp(glut.name, "indirect") == 0;
  if (std::strcmp(glut.name, "geometry") == 0) {
    if (std::string problem = noteGeometry(options.window, value); !problem.empty()) {
      return "option '-geometry' " + problem;
    }
  }
  options.glutArgs.push_back(std::string("-") + glut.name);
  if (value != nullptr) {
    options.glutArgs.push_back(value);
  }
  return "";
}

// The options, the viewer's and GLUT's, whose names begin with `given`, each as "'--name'".
std::vector<std::string> optionsStartingWith(const std::string& given) {
  std::vector<std::string> names;
  for (const option& o : getoptTable()) {
    if (o.name != nullptr && std::strncmp(o.name, given.c_str(), given.size()) == 0) {
      names.push_back(std::string(o.val >= kGlutCode ? "'-" : "'--") + o.name + "'");
    }
  }
  return names;
}

// getopt reports an abbreviation that fits several options as unknown; name them instead.
std::string unknownOrAmbiguous(const char* given) {
  const std::string written(given, std::strcspn(given, "="));  // without any value
  const std::string name = written.substr(std::strspn(given, "-"));
  const std::vector<std::string> fits =
      name.empty() ? std::vector<std::string>{} : optionsStartingWith(name);
  if (fits.size() < 2) {
    return std::string("unknown option '") + given + "'";
  }
  std::string text = "option '" + written + "' is ambiguous; it could be";
  for (std::size_t i = 0; i < fits.size(); ++i) {
    text += (i == 0 ? " " : i + 1 == fits.size() ? " or " : ", ") + fits[i];
  }
  return text;
}

std::string badOption(char** argv, int code) {
  const char* given = argv[optind - 1];
  if (code == ':') {
    return std::string("option '") + given + "' needs an argument";
  }
  if (optopt >= kGlutCode) {
    return std::string("option '-") + kGlutOptions[optopt - kGlutCode].name + "' takes no value";
  }
  if (optopt >= kViewerCode) {
    return std::string("option '--") + kViewerOptions[optopt - kViewerCode].name +
           "' takes no value";
  }
  return unknownOrAmbiguous(given);
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
    return handOnToGlut(options, glut, glut.hasValue ? optarg : nullptr);
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
  // Files named without an option are maps too, after those of --env-map: so a file manager,
  // or a shell's wildcard, can hand the viewer maps to open.
  for (; options.error.empty() && optind < argc; ++optind) {
    if (std::string problem = mapName(options.envMaps, argv[optind]); !problem.empty()) {
      options.error = "a map " + problem;
    }
  }
  options.run.commandLine.assign(argv, argv + argc);
  options.run.fullscreen = options.window.fullscreen;
  if (options.error.empty() && !options.run.screenshot.empty() && options.run.frames == 0 &&
      options.run.replay.empty()) {
    options.error = "option '--screenshot' needs '--frames' or '--replay'";
  }
  return options;
}

std::vector<OptionHelp> optionHelp() {
  std::vector<OptionHelp> entries;
  for (const ViewerOption& o : kViewerOptions) {
    std::string left = o.shortName ? std::string("-") + o.shortName + ", --" : "    --";
    entries.push_back({left + o.name + (o.value ? std::string(" ") + o.value : ""), o.help});
  }
  return entries;
}
