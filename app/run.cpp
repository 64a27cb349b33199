#include "app/run.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <thread>

#include "app/callbacks.h"
#include "app/frame_counter.h"
#include "app/session_file.h"
#include "picture/output_file.h"
#include "picture/png_file.h"
#include "render/frame.h"
#include "render/hud.h"
#include "render/smooth_edges.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

constexpr int kCannotWriteStatus = 1;
constexpr int kBadSessionStatus = 2;
constexpr int kUsageStatus = 2;
constexpr int kWindowClosedStatus = 1;
constexpr int kSignalStatusBase = 128;  // as shells report a process ended by a signal
// How long a full-screen run waits for the window to fill the screen before drawing anyway.
constexpr double kFullScreenWaitSeconds = 5.0;
// How often a paced run wakes between frames to see whether a signal has asked it to stop.
constexpr double kSignalCheckSeconds = 0.1;

RunPlan plan;
bool reportFps = false;
bool showHud = false;
RunProgress progress;
Pace pace;
FrameCounter fpsCounter;
FrameCounter hudCounter;   // the readout's own, so that --fps keeps its count
double runStarted = -1.0;  // when the first frame began; negative until then
OutputFile picture;
OutputFile record;  // open while the session is kept
Session replayed;
std::size_t eventsReplayed = 0;
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
    const std::string problem =
        writeOutputFile(picture, [&](std::FILE* file) { return encodePng(file, lastFrame); });
    if (!problem.empty()) {
      std::fprintf(stderr, "velkarin: %s: %s\n", plan.screenshot.c_str(), problem.c_str());
      status = kCannotWriteStatus;
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

// A run cut short by the window closing or a signal: what was drawn, and no picture.
[[noreturn]] void endEarly(const char* why, int status) {
  const std::string budget = plan.frames > 0 ? " of " + std::to_string(plan.frames) : "";
  std::fprintf(stderr, "velkarin: %s after %lld%s frames\n", why,
               static_cast<long long>(progress.framesDrawn), budget.c_str());
  reportRunFrameRate();
  std::exit(status);
}

// Keeps one event of the session, as it happens. An event that cannot be kept (a full disk)
// is taken back, so the file ends with the last whole event, as a killed run's does, and the
// session is kept no further.
void recordInput(InputEvent event) {
  if (record.fd < 0) {
    return;
  }
  event.frame = progress.framesDrawn;
  const std::string problem = appendToOutputFile(record, sessionLine(event));
  if (!problem.empty()) {
    std::fprintf(stderr, "velkarin: %s: %s; recording stopped\n", plan.record.c_str(),
                 problem.c_str());
    closeOutputFile(record);
  }
}

// The kept session's file is replaced only now that the run has begun: a run that never
// opened its window leaves an old session as it was.
void startRecord() {
  if (std::string problem = startOutputFile(record, sessionHeader()); !problem.empty()) {
    std::fprintf(stderr, "velkarin: %s: %s\n", plan.record.c_str(), problem.c_str());
    std::exit(kCannotWriteStatus);
  }
}

// However the run ends, the session's last line says how many frames it drew.
void finishRecord() {
  if (record.fd >= 0) {
    appendToOutputFile(record, sessionEnd(progress.framesDrawn));
  }
}

// The replayed events that came before the next frame, through the callbacks live input takes.
// One that draws at once moves the count on, and the events after it follow.
void replayUpToNextFrame() {
  while (eventsReplayed < replayed.events.size() &&
         replayed.events[eventsReplayed].frame <= progress.framesDrawn) {
    deliver(replayed.events[eventsReplayed++]);
  }
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

// The readout of --hud. A budgeted run, whose pictures must be the same on every run, shows
// no frame rate.
void drawRunHud() {
  HudFigures figures;
  figures.frame = frameNumberShown(progress);
  figures.framesPerSecond = plan.frames > 0 ? -1.0 : hudCounter.lastRate;
  drawHud(scene, figures);
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
  beginSmoothFrame();
  drawFrame();
  endSmoothFrame();
  RgbImage lastFrame;
  if (last && !plan.screenshot.empty()) {
    lastFrame = readBackBuffer();  // before the swap, which leaves the back buffer undefined
  }
  glutSwapBuffers();
  countDrawnFrame(progress);
  const double shown = secondsNow();
  if (showHud) {
    countFrame(hudCounter, shown);
  }
  if (reportFps) {
    const std::string line = countFrame(fpsCounter, shown);
    if (!line.empty()) {
      printLine(line);
    }
  }
  if (last) {
    endRun(lastFrame);
  }
}

void onRunFrame() {
  stopIfSignalled();
  if (waitingForFullScreen()) {
    return;
  }
  replayUpToNextFrame();
  if (const ScriptKey* key = takeNextKey(plan, progress)) {
    deliver({0, InputKind::Key, *key});
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

// The file that two of the file options name, or "": a session replayed from the file a
// picture is written to would be lost, and so on for every pair.
std::string fileOptionsClash(const Options& options) {
  const std::string* files[] = {&options.envMap, &plan.screenshot, &plan.record, &plan.replay};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    for (std::size_t j = i + 1; j < std::size(files); ++j) {
      if (!files[i]->empty() && !files[j]->empty() && nameOneFile(*files[i], *files[j])) {
        return *files[j];
      }
    }
  }
  return "";
}

}  // namespace

int prepareRun(const Options& options) {
  plan = options.run;
  const auto refuse = [](const std::string& file, const std::string& problem, int status) {
    std::fprintf(stderr, "velkarin: %s: %s\n", file.c_str(), problem.c_str());
    return status;
  };
  if (const std::string clash = fileOptionsClash(options); !clash.empty()) {
    return refuse(clash, "named by two options; each file option needs a file of its own",
                  kUsageStatus);
  }
  if (!plan.replay.empty()) {
    if (std::string problem = readSessionFile(plan.replay, &replayed); !problem.empty()) {
      return refuse(plan.replay, problem, kBadSessionStatus);
    }
    if (replayed.cutShort) {
      refuse(plan.replay, "cut short (no end line): replayed up to its last event", 0);
    }
    if (plan.frames == 0) {
      plan.frames = static_cast<int>(std::clamp<std::int64_t>(replayed.frames, 1, INT_MAX));
    }
  }
  if (!plan.screenshot.empty()) {
    if (std::string problem = openOutputFile(plan.screenshot, &picture); !problem.empty()) {
      return refuse(plan.screenshot, problem, kCannotWriteStatus);
    }
  }
  if (!plan.record.empty()) {
    if (std::string problem = openOutputFile(plan.record, &record); !problem.empty()) {
      return refuse(plan.record, problem, kCannotWriteStatus);
    }
  }
  if (plan.frames > 0 || !plan.record.empty()) {
    for (const SignalName& signal : kStopSignals) {
      std::signal(signal.number, onStopSignal);
    }
  }
  return -1;
}

RunCallbacks beginRun(const Options& options) {
  if (!options.fps && !options.hud && options.window.samples == 0 && !isScripted(options.run)) {
    return {renderFrame, renderFrame};
  }
  if (options.window.samples > 0) {
    if (const std::string word = startSmoothEdges(options.window.samples); !word.empty()) {
      std::fprintf(stderr, "velkarin: %s\n", word.c_str());
    }
  }
  reportFps = options.fps;
  showHud = options.hud;
  if (showHud) {
    prepareHud();
    drawOverlayWith(drawRunHud);
  }
  drawFramesNowWith(drawRunFrame);
  if (!plan.record.empty()) {
    startRecord();
    reportInputsTo(recordInput);
    std::atexit(finishRecord);  // after glutInit's: runs before freeglut closes its window
  }
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
