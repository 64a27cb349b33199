// The real binary under a real X server: what a person running it sees.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/viewer_process.h"
#include "tools/x11_window.h"

#include <X11/keysym.h>

namespace {

constexpr char kTitle[] = "Velkarin - lighting";
constexpr int kStartTimeoutMs = 20000;

class Viewer : public testing::Test {
 protected:
  void SetUp() override {
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr) << "no X display: run the tests under xvfb-run";
    folder_ = makeTempFolder();
    ASSERT_FALSE(folder_.empty());
  }

  void TearDown() override {
    stopViewer(viewer_);
    if (display_ != nullptr)
      XCloseDisplay(display_);
  }

  Window start() {
    viewer_ = startViewer(folder_);
    return findWindowByTitle(display_, kTitle, kStartTimeoutMs);
  }

  // Pixels showing the filled, unlit torus colour (0.9, 0.1, 0.4), give or take rounding.
  static int torusColouredPixels(const Screenshot& shot) {
    int count = 0;
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const unsigned char* p = shot.pixel(x, y);
        count += std::abs(p[0] - 230) <= 2 && std::abs(p[1] - 26) <= 2 && std::abs(p[2] - 102) <= 2;
      }
    }
    return count;
  }

  Display* display_ = nullptr;
  std::string folder_;
  ViewerProcess viewer_;
};

}  // namespace

TEST_F(Viewer, OpensItsWindowPrintsTheTextureLineAndKeepsRendering) {
  const Window window = start();
  ASSERT_NE(window, 0u) << "no window titled " << kTitle;
  EXPECT_EQ(readOutput(viewer_, 500), "tex = 0\n");

  const WindowGeometry geometry = windowGeometry(display_, window);
  EXPECT_EQ(geometry.x, 10);
  EXPECT_EQ(geometry.y, 60);
  EXPECT_EQ(geometry.width, 620);
  EXPECT_EQ(geometry.height, 160);

  // The lights orbit on every frame, so two looks a moment apart differ.
  const Screenshot first = captureWindow(display_, window);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Screenshot second = captureWindow(display_, window);
  ASSERT_EQ(first.rgb.size(), second.rgb.size());
  EXPECT_NE(first.rgb, second.rgb);
  EXPECT_TRUE(isRunning(viewer_));
}

TEST_F(Viewer, KeysFillAndUnlightTheTorusAndEscapeQuitsWithStatusOne) {
  const Window window = start();
  ASSERT_NE(window, 0u);
  EXPECT_LT(torusColouredPixels(captureWindow(display_, window)), 50);

  typeKeys(display_, window, "pL");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_GT(torusColouredPixels(captureWindow(display_, window)), 2000);

  typeKeySym(display_, window, XK_Escape);
  EXPECT_EQ(waitForExit(viewer_, 10000), 1);
}

TEST_F(Viewer, BundledMapGivesATextureAndEnvironmentMappingShowsIt) {
  std::filesystem::copy_file(VELKARIN_ASSETS "/env.ppm", folder_ + "/env.ppm");
  const Window window = start();
  ASSERT_NE(window, 0u);
  const std::string line = readOutput(viewer_, 500);
  EXPECT_TRUE(std::regex_match(line, std::regex("tex = [1-9][0-9]*\n"))) << line;

  typeKeys(display_, window, "apL");  // hold the scene still, filled and unlit
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int plain = torusColouredPixels(captureWindow(display_, window));
  typeKeys(display_, window, "e");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int mapped = torusColouredPixels(captureWindow(display_, window));
  EXPECT_GT(plain, 2000);
  EXPECT_LT(mapped, plain / 10) << "the map should cover the torus's plain colour";
}

TEST_F(Viewer, AHostileEnvironmentMapGivesTextureZeroAndANormalRun) {
  const std::string hostile[] = {
      "P6\n20000 20000\n255\n",                 // claims 1.2 GB
      "P6\n2147483647 2147483647\n255\n",       // claims more than any int
      "P6\n4 4\n255\nshort",                    // truncated pixels
      "P6\n#" + std::string(5000, 'x') + "\n",  // endless comment
      std::string("\0\0\0\0", 4),               // not a PPM at all
  };
  for (const std::string& contents : hostile) {
    std::ofstream(folder_ + "/env.ppm", std::ios::binary | std::ios::trunc) << contents;
    ASSERT_NE(start(), 0u);
    EXPECT_EQ(readOutput(viewer_, 500), "tex = 0\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(isRunning(viewer_));
    stopViewer(viewer_);
  }
}
