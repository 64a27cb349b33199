#include "app/run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/callbacks.h"
#include "app/frame_counter.h"
#include "render/frame.h"
#include "scene/gl_headers.h"
#include "texture/png_file.h"

namespace {

constexpr int kScreenshotFailedStatus = 1;

RunPlan plan;
bool reportFps = false;
RunProgress progress;
Pace pace;
FrameCounter fpsCounter;
double runStarted = -1.0;  // when the first frame began; negative until then

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

// Sleeps until the frame is due under --frame-rate.
void keepPace() {
  if (plan.frameRate == 0) {
    return;
  }
  const double now = secondsNow();
  const double due = frameDue(pace, plan.frameRate, now);
  if (due > now) {
    std::this_thread::sleep_for(std::chrono::duration<double>(due - now));
  }
}

void printLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

// The back buffer as the frame left it, rows from the top.
RgbImage readBackBuffer() {
  RgbImage image;
  image.width = glutGet(GLUT_WINDOW_WIDTH);
  image.height = glutGet(GLUT_WINDOW_HEIGHT);
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
  std::vector<unsigned char> bottomUp(rowBytes * image.height);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);  // rows of RGB bytes lie packed, whatever the width
  glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  for (int row = image.height - 1; row >= 0; --row) {
    const auto start = bottomUp.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
    image.rgb.insert(image.rgb.end(), start, start + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return image;
}

// After the budget's last frame: the picture, the whole run's frame rate, the exit.
[[noreturn]] void endRun(const RgbImage& lastFrame) {
  int status = 0;
  if (!plan.screenshot.empty()) {
    const std::string problem = writePng(plan.screenshot, lastFrame);
    if (!problem.empty()) {
      std::fprintf(stderr, "velkarin: %s: %s\n", plan.screenshot.c_str(), problem.c_str());
      status = kScreenshotFailedStatus;
    }
  }
  if (reportFps) {
    printLine(frameRateLine(progress.framesDrawn, secondsNow() - runStarted));
  }
  std::exit(status);
}

// Every frame of the run, whether idle or drawn at once by a key or a drag.
void drawRunFrame() {
  keepPace();
  if (runStarted < 0.0) {
    runStarted = secondsNow();
  }
  const bool last = isLastFrame(plan, progress);
  drawFrame();
  RgbImage lastFrame;
  if (last && !plan.screenshot.empty()) {
    lastFrame = readBackBuffer();  // before the swap, which leaves the back buffer undefined
  }
  glutSwapBuffers();
  countDrawnFrame(plan, progress);
  if (reportFps) {
    const std::string line = countFrame(fpsCounter, secondsNow());
    if (!line.empty()) {
      printLine(line);
    }
  }
  if (last) {
    endRun(lastFrame);
  }
}

// A scripted key goes the way a typed one does.
void press(const ScriptKey& key) {
  if (key.special) {
    onSpecialKey(key.code, 0, 0);
  } else {
    onKeyboard(static_cast<unsigned char>(key.code), 0, 0);
  }
}

void onRunFrame() {
  if (const ScriptKey* key = takeNextKey(plan, progress)) {
    press(*key);
  }
  drawRunFrame();
}

}  // namespace

FrameRoutine beginRun(const Options& options) {
  if (!options.fps && !isScripted(options.run)) {
    return renderFrame;
  }
  plan = options.run;
  reportFps = options.fps;
  drawFramesNowWith(drawRunFrame);
  return onRunFrame;
}
