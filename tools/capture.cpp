// Photographs the viewer's window from outside, as a person at the screen would, after typing
// real keys into it.
//
// Usage: velkarin_capture STEP...
//   --keys "p f Right*30"       press keys by X keysym name; NAME*N presses N times
//   --wait MS                   let the viewer draw for a while
//   --png PATH                  save the window as a PNG picture
//   --frames PREFIX COUNT EVERY_MS
//                               save COUNT looks, EVERY_MS apart, as PREFIX-000.png and on
// tools/capture_screenshots.sh makes the animation from the frames and checks every picture
// from its file.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "tools/images.h"
#include "tools/x11_window.h"

namespace {

constexpr char kTitle[] = "Velkarin - lighting";
constexpr int kWindowTimeoutMs = 20000;

RgbImage look(Display* display, Window window) {
  Screenshot shot = captureWindow(display, window);
  return {shot.width, shot.height, std::move(shot.rgb)};
}

bool save(const std::string& path, const RgbImage& image) {
  if (writePng(path, image)) {
    return true;
  }
  std::fprintf(stderr, "velkarin_capture: cannot write %s\n", path.c_str());
  return false;
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
  const Window window = findWindowByTitle(display, kTitle, kAnyProcess, kWindowTimeoutMs);
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
      if (!save(argv[++i], look(display, window)))
        return 1;
    } else if (step == "--frames" && i + 3 < argc) {
      const std::string prefix = argv[++i];
      const int frames = std::atoi(argv[++i]);
      const int everyMs = std::atoi(argv[++i]);
      for (int f = 0; f < frames; ++f) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%03d.png", f);
        if (!save(prefix + suffix, look(display, window)))
          return 1;
        sleepMs(everyMs);
      }
    } else {
      std::fprintf(stderr, "velkarin_capture: unknown or incomplete step %s\n", step.c_str());
      return 2;
    }
  }
  XCloseDisplay(display);
  return 0;
}
