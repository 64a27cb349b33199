// Page Down held over large maps, in a run a person drives: the real viewer, its keys pressed
// through the X server 30 times a second for 4 seconds. The longest frame while the keys are
// held and just after (the maximum of its --fps lines), and the time from the last press until
// the title names the map asked for.
//
// Usage: velkarin_page_down_held VIEWER FOLDER
// FOLDER holds maps named 1.png, 2.png, ... so that their order is their names'.
// Prints "longest-frame-ms MS" and "last-map-ms MS".
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "tests/support/x11_window.h"
#include "tests/viewer_process.h"

namespace {

constexpr int kPressesPerSecond = 30;
constexpr int kPresses = 4 * kPressesPerSecond - 1;  // ends on another map than the first
constexpr int kWaitMs = 60000;
constexpr char kTitle[] = "Velkarin - lighting - ";

using Clock = std::chrono::steady_clock;

std::string titleOf(const std::string& map, int place, int count) {
  return std::string(kTitle) + map + " (" + std::to_string(place) + "/" + std::to_string(count) +
         ")";
}

std::string windowName(Display* display, Window window) {
  char* name = nullptr;
  std::string text;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    text = name;
    XFree(name);
  }
  return text;
}

// The largest "max" of the --fps lines in `lines`.
double longestFrame(const std::string& lines) {
  const std::regex most(R"(max ([\d.]+) ms)");
  double longest = 0.0;
  for (auto it = std::sregex_iterator(lines.begin(), lines.end(), most);
       it != std::sregex_iterator(); ++it) {
    longest = std::max(longest, std::stod((*it)[1]));
  }
  return longest;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s VIEWER FOLDER\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
    count += entry.path().extension() == ".png" ? 1 : 0;
  }
  const std::string folder = std::filesystem::absolute(argv[2]).string();
  setenv("VELKARIN_VIEWER", std::filesystem::absolute(argv[1]).c_str(), 1);
  ViewerProcess viewer = startViewer(makeTempFolder(), {"--fps", folder});
  const Window window = findWindowByTitle(display, titleOf("1.png", 1, count), viewer.pid, kWaitMs);
  if (window == 0) {
    std::fprintf(stderr, "no window\n");
    stopViewer(viewer);
    return 1;
  }
  readOutput(viewer, kWaitMs);  // tex = N, and a first --fps line: the keys start after it
  readOutput(viewer, kWaitMs);
  const Clock::time_point start = Clock::now();
  for (int press = 0; press < kPresses; ++press) {
    typeKeySym(display, window, XK_Next);
    std::this_thread::sleep_until(
        start + std::chrono::milliseconds(1000 * (press + 1) / kPressesPerSecond));
  }
  const Clock::time_point lastPress = Clock::now();
  const int last = kPresses % count + 1;
  const std::string wanted = titleOf(std::to_string(last) + ".png", last, count);
  waitUntil([&] { return windowName(display, window) == wanted; }, kWaitMs);
  const double lastMapMs =
      std::chrono::duration<double, std::milli>(Clock::now() - lastPress).count();
  // The lines of the five seconds the keys were held in, and of the five after.
  std::string lines = readOutput(viewer, kWaitMs);
  lines += readOutput(viewer, kWaitMs);
  std::printf("longest-frame-ms %.1f\nlast-map-ms %.1f\n", longestFrame(lines), lastMapMs);
  stopViewer(viewer);
  XCloseDisplay(display);
  return 0;
}
