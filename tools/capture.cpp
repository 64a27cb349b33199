// Photographs the viewer's window from outside, as a person at the screen would, after typing
// real keys into it.
//
// Usage: velkarin_capture STEP...
//   --keys "p f Right*30"       press keys by X keysym name; NAME*N presses N times
//   --wait MS                   let the viewer draw for a while
//   --png PATH                  save the window as a PNG picture
//   --gif PATH FRAMES EVERY_MS  save FRAMES looks, EVERY_MS apart, as a looping GIF
// Each picture is reported as "PATH WIDTHxHEIGHT lit=N torus=M": the pixels that are not
// black, and those showing the unlit torus colour.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "tools/image_files.h"
#include "tools/x11_window.h"

namespace {

constexpr char kTitle[] = "Velkarin - lighting";
constexpr int kWindowTimeoutMs = 20000;

RgbImage look(Display* display, Window window) {
  Screenshot shot = captureWindow(display, window);
  return {shot.width, shot.height, std::move(shot.rgb)};
}

void report(const std::string& path, const RgbImage& image) {
  int lit = 0;
  for (std::size_t p = 0; p + 2 < image.rgb.size(); p += 3) {
    lit += image.rgb[p] + image.rgb[p + 1] + image.rgb[p + 2] > 0;
  }
  std::printf("%s %dx%d lit=%d torus=%d\n", path.c_str(), image.width, image.height, lit,
              countTorusColouredPixels(image.rgb));
}

void pressKeys(Display* display, Window window, const std::string& keys) {
  std::istringstream tokens(keys);
  std::string token;
  while (tokens >> token) {
    const auto star = token.find('*');
    const int times = star == std::string::npos ? 1 : std::atoi(token.c_str() + star + 1);
    const KeySym keysym = XStringToKeysym(token.substr(0, star).c_str());
    for (int i = 0; i < times; ++i)
      typeKeySym(display, window, keysym);
  }
}

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "velkarin_capture: no X display\n");
    return 1;
  }
  const Window window = findWindowByTitle(display, kTitle, kWindowTimeoutMs);
  if (window == 0) {
    std::fprintf(stderr, "velkarin_capture: no window titled \"%s\"\n", kTitle);
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string step = argv[i];
    const bool hasArgument = i + 1 < argc;
    if (step == "--keys" && hasArgument) {
      pressKeys(display, window, argv[++i]);
    } else if (step == "--wait" && hasArgument) {
      sleepMs(std::atoi(argv[++i]));
    } else if (step == "--png" && hasArgument) {
      const std::string path = argv[++i];
      const RgbImage image = look(display, window);
      if (!writePng(path, image))
        return 1;
      report(path, image);
    } else if (step == "--gif" && i + 3 < argc) {
      const std::string path = argv[++i];
      const int frames = std::atoi(argv[++i]);
      const int everyMs = std::atoi(argv[++i]);
      std::vector<RgbImage> looks;
      for (int f = 0; f < frames; ++f) {
        looks.push_back(look(display, window));
        sleepMs(everyMs);
      }
      if (!writeGif(path, looks, everyMs / 10))
        return 1;
      report(path, looks.front());
    } else {
      std::fprintf(stderr, "velkarin_capture: unknown or incomplete step %s\n", step.c_str());
      return 2;
    }
  }
  XCloseDisplay(display);
  return 0;
}
