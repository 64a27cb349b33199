#include "app/run.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/callbacks.h"
#include "app/frame_counter.h"
#include "picture/picture_file.h"
#include "render/frame.h"
#include "scene/gl_headers.h"

namespace {

constexpr int kScreenshotFailedStatus = 1;
constexpr int kWindowClosedStatus = 1;
constexpr int kSignalStatusBase = 128;  // as shells report a process ended by a signal
// How long a full-screen run waits for the window to fill the screen before drawing anyway.
constexpr double kFullScreenWaitSeconds = 5.0;
// How often a paced run wakes between frames to see whether a signal has asked it to stop.
constexpr double kSignalCheckSeconds = 0.1;

RunPlan plan;
bool reportFps = false;
RunProgress progress;
Pace pace;
FrameCounter fpsCounter;
double runStarted = -1.0;  // when the first frame began; negative until then
PictureFile picture;
bool awaitingFullScreen = false;
double fullScreenDeadline = 0.0;
volatile std::sig_atomic_t stopSignal = 0;

struct SignalName {
  int number;
  const char* words;
};
const SignalName kStopSignals[] = {
    {SIGINT, "interrupted (SIGINT)"},
    {SIGTERM, "terminated (SIGTERM)"},
#ifdef SIGHUP
    {SIGHUP, "hung up (SIGHUP)"},
#endif
};

// Only notes the signal: the frame routine ends the run. A second one acts as it would have.
void onStopSignal(int number) {
  stopSignal = number;
  std::signal(number, SIG_DFL);
}

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

void sleepUntil(double when) {
  const double now = secondsNow();
  if (when > now) {
    std::this_thread::sleep_for(std::chrono::duration<double>(when - now));
  }
}

void printLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

// The whole run's frame rate, when --fps asks for it and a frame was drawn.
void reportRunFrameRate() {
  if (reportFps && runStarted >= 0.0) {
    printLine(frameRateLine(progress.framesDrawn, secondsNow() - runStarted));
  }
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

// After the budget's last frame: the picture, the keys the budget left unpressed, the whole
// run's frame rate, the exit.
[[noreturn]] void endRun(const RgbImage& lastFrame) {
  int status = 0;
  if (!plan.screenshot.empty()) {
    const std::string problem = writePictureFile(picture, lastFrame);
    if (!problem.empty()) {
      std::fprintf(stderr, "velkarin: %s: %s\n", plan.screenshot.c_str(), problem.c_str());
      status = kScreenshotFailedStatus;
    }
  }
  if (progress.keysPressed < plan.keys.size()) {
    std::fprintf(stderr,
                 "velkarin: --frames %d ended the run before these --keys were pressed: %s\n",
                 plan.frames, spellKeys(plan.keys, progress.keysPressed).c_str());
  }
  if (plan.frameRate > 0) {
    sleepUntil(pace.next);  // the last frame's period is part of the run
  }
  reportRunFrameRate();
  std::exit(status);
}

// A budgeted run cut short by the window closing or a signal: what was drawn, and no picture.
[[noreturn]] void endEarly(const char* why, int status) {
  std::fprintf(stderr, "velkarin: %s after %d of %d frames\n", why, progress.framesDrawn,
               plan.frames);
  reportRunFrameRate();
  std::exit(status);
}

void stopIfSignalled() {
  const int number = stopSignal;
  for (const SignalName& signal : kStopSignals) {
    if (signal.number == number) {
      endEarly(signal.words, kSignalStatusBase + number);
    }
  }
}

// freeglut also closes its window from an exit handler, as any exit ends the process; that is
// no person closing it. Registered after glutInit, this handler runs before freeglut's.
bool exiting = false;
void noteExiting() {
  exiting = true;
}

[[maybe_unused]] void onWindowClosed() {
  if (!exiting) {
    endEarly("window closed", kWindowClosedStatus);
  }
}

// A full-screen run draws nothing until the projection fills the screen, so that its first
// counted frame does; a window manager that never grants it is waited for a while, then drawn
// in. GLUT knows the new size before its reshape has set the viewport: the viewport tells.
bool waitingForFullScreen() {
  if (!awaitingFullScreen) {
    return false;
  }
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const bool filled =
      viewport[2] == glutGet(GLUT_SCREEN_WIDTH) && viewport[3] == glutGet(GLUT_SCREEN_HEIGHT);
  if (!filled && secondsNow() < fullScreenDeadline) {
    return true;
  }
  if (!filled) {
    std::fputs("velkarin: the window did not fill the screen; drawing in it as it is\n", stderr);
  }
  awaitingFullScreen = false;
  // Mesa's software drivers take a window's new size for its buffers at a swap: one swap of
  // the empty buffers, and the next frame is drawn, and read back, whole.
  glutSwapBuffers();
  return true;
}

// Every frame of the run, whether idle or drawn at once by a key or a drag. Under --frame-rate
// each takes the next place on the pace's grid, but a key's frame never waits for it.
void drawRunFrame() {
  stopIfSignalled();
  const double now = secondsNow();
  if (plan.frameRate > 0) {
    frameDue(pace, plan.frameRate, now);
  }
  if (runStarted < 0.0) {
    runStarted = now;
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
  stopIfSignalled();
  if (waitingForFullScreen()) {
    return;
  }
  if (const ScriptKey* key = takeNextKey(plan, progress)) {
    press(*key);
  }
  drawRunFrame();
}

// A paced run's idle frames: GLUT's timer wakes it when the next frame is due (or to look for
// a signal), and between times GLUT waits for input, which is handled as soon as it comes.
void onPaceTimer(int) {
  stopIfSignalled();
  constexpr double kTimerResolution = 0.001;  // GLUT's timer counts whole milliseconds
  if (!pace.started || pace.next - secondsNow() < kTimerResolution) {
    onRunFrame();
  }
  const double wait =
      std::clamp(pace.started ? pace.next - secondsNow() : 0.0, 0.0, kSignalCheckSeconds);
  glutTimerFunc(static_cast<unsigned>(wait * 1000.0), onPaceTimer, 0);
}

}  // namespace

bool prepareRun(const Options& options) {
  if (!options.run.screenshot.empty()) {
    const std::string problem = openPictureFile(options.run.screenshot, &picture);
    if (!problem.empty()) {
      std::fprintf(stderr, "velkarin: %s: %s\n", options.run.screenshot.c_str(), problem.c_str());
      return false;
    }
  }
  if (options.run.frames > 0) {
    for (const SignalName& signal : kStopSignals) {
      std::signal(signal.number, onStopSignal);
    }
  }
  return true;
}

RunCallbacks beginRun(const Options& options) {
  if (!options.fps && !isScripted(options.run)) {
    return {renderFrame, renderFrame};
  }
  plan = options.run;
  reportFps = options.fps;
  drawFramesNowWith(drawRunFrame);
#ifdef FREEGLUT
  if (plan.frames > 0) {
    std::atexit(noteExiting);
    glutCloseFunc(onWindowClosed);  // freeglut would otherwise end the run with status 0
  }
#endif
  if (options.window.fullscreen) {
    awaitingFullScreen = true;
    fullScreenDeadline = secondsNow() + kFullScreenWaitSeconds;
  }
  if (plan.frameRate > 0) {
    glutTimerFunc(0, onPaceTimer, 0);
    return {nullptr, onRunFrame};
  }
  return {onRunFrame, onRunFrame};
}
