#include "run/run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "files/complaint.h"
#include "files/file_name.h"
#include "render/frame.h"
#include "render/read_back.h"
#include "render/smooth_edges.h"
#include "render/swap_interval.h"
#include "run/input_handling.h"
#include "run/kept_session.h"
#include "run/maps.h"
#include "run/readout.h"
#include "run/results.h"
#include "run/run_end.h"
#include "run/run_files.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

RunState run;

namespace {

constexpr int kUsageStatus = 2;
// How long a full-screen run waits for the window to fill the screen before drawing anyway.
constexpr double kFullScreenWaitSeconds = 5.0;
// How often a paced run wakes between frames to see whether a signal has asked it to stop.
constexpr double kSignalCheckSeconds = 0.1;

// A full-screen run draws nothing until the projection fills the screen, so that its first
// counted frame does; a window manager that never grants it is waited for a while, then drawn
// in. GLUT knows the new size before its reshape has set the viewport: the viewport tells.
bool waitingForFullScreen() {
  if (!run.awaitingFullScreen) {
    return false;
  }
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const bool filled =
      viewport[2] == glutGet(GLUT_SCREEN_WIDTH) && viewport[3] == glutGet(GLUT_SCREEN_HEIGHT);
  if (!filled && secondsNow() < run.fullScreenDeadline) {
    return true;
  }
  if (!filled) {
    std::fputs("velkarin: the window did not fill the screen; drawing in it as it is\n", stderr);
  }
  run.awaitingFullScreen = false;
  // Mesa's software drivers take a window's new size for its buffers at a swap: one swap of
  // the empty buffers, and the next frame is drawn, and read back, whole.
  glutSwapBuffers();
  return true;
}

// The frame, and over it the readout of --hud. A budgeted run, whose pictures must be the
// same on every run, shows no frame rate.
void drawRunPicture() {
  beginSmoothFrame();
  drawScene();
  if (run.plan.hud) {
    HudFigures figures;
    figures.frame = frameNumberShown(run.progress);
    figures.framesPerSecond = run.plan.frames > 0 ? -1.0 : run.hudCounter.lastRate;
    figures.map = mapShown();
    drawHud(readoutText(scene, figures));
  }
  glFlush();
  endSmoothFrame();
}

void countShownFrame() {
  countDrawnFrame(run.progress);
  beginRecordFile();
  const double shown = secondsNow();
  if (run.plan.hud) {
    countFrame(run.hudCounter, shown);
  }
  if (run.lastShown >= 0.0 && (run.plan.fps || !run.plan.results.empty())) {
    addFrameTime(run.runTimes, shown - run.lastShown);
    addFrameTime(run.intervalTimes, shown - run.lastShown);
  }
  run.lastShown = shown;
  if (run.plan.fps) {
    const std::string line = countFrame(run.fpsCounter, shown, &run.intervalTimes);
    if (!line.empty()) {
      printLine(line);
    }
  }
}

// Every frame of the run, whether idle or drawn at once by a key or a drag. Under --frame-rate
// each takes the next place on the pace's grid, but a key's frame never waits for it.
void drawRunFrame() {
  stopIfSignalled();
  const double now = secondsNow();
  if (run.plan.frameRate > 0) {
    frameDue(run.pace, run.plan.frameRate, now);
  }
  if (run.started < 0.0) {
    run.started = now;
  }
  const bool last = isLastFrame(run.plan, run.progress);
  drawRunPicture();
  RgbImage picture;
  if ((last || run.plan.everyFrame) && !run.plan.screenshot.empty()) {
    picture = readBackFrame();  // before the swap, which leaves the back buffer undefined
  }
  glutSwapBuffers();
  countShownFrame();
  if (run.plan.everyFrame) {
    saveNumberedPicture(picture);
  }
  if (last) {
    endRun(picture);
  }
}

void onRunFrame() {
  stopIfSignalled();
  if (waitingForFullScreen()) {
    return;
  }
  replayUpToNextFrame();
  if (const ScriptKey* key = takeNextKey(run.plan, run.progress)) {
    handleInput({0, InputKind::Key, *key});
  }
  drawRunFrame();
}

// A paced run's idle frames: GLUT's timer wakes it when the next frame is due (or to look for
// a signal), and between times GLUT waits for input, which is handled as soon as it comes.
void onPaceTimer(int) {
  stopIfSignalled();
  constexpr double kTimerResolution = 0.001;  // GLUT's timer counts whole milliseconds
  if (!run.pace.started || run.pace.next - secondsNow() < kTimerResolution) {
    onRunFrame();
  }
  const double wait =
      std::clamp(run.pace.started ? run.pace.next - secondsNow() : 0.0, 0.0, kSignalCheckSeconds);
  glutTimerFunc(static_cast<unsigned>(wait * 1000.0), onPaceTimer, 0);
}

// The run's text lines (tex = N, the frame rates) go to standard error when standard output
// carries the picture or the kept session, so that nothing else is mixed into it.
void keepStandardOutputForTheRunsFile() {
  if (takesStandardOutput(run.picture) || takesStandardOutput(run.record) ||
      takesStandardOutput(run.resultsFile)) {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
  }
}

// Smooth edges, the swap interval and the readout, set up once the window's context exists.
void prepareDrawing() {
  if (run.plan.samples > 0) {
    if (const std::string word = startSmoothEdges(run.plan.samples); !word.empty()) {
      std::fprintf(stderr, "velkarin: %s\n", word.c_str());
    }
  }
  if (run.plan.swapInterval >= 0) {
    std::string problem;
    run.swap = setSwapInterval(run.plan.swapInterval, &problem);
    if (!problem.empty()) {
      std::fprintf(stderr, "velkarin: %s\n", problem.c_str());
    }
  }
  if (!run.plan.results.empty()) {
    noteResultsContext();
  }
  if (run.plan.hud) {
    prepareHud();
  }
}

// Every map by its full path, as a kept session names them.
std::vector<std::string> fullPaths(const std::vector<std::string>& maps) {
  std::vector<std::string> full;
  for (const std::string& map : maps) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(pathOf(map), error);
    full.push_back(error ? map : nameOf(path.lexically_normal()));
  }
  return full;
}

// The maps named, or, where none is, those a replayed session was kept with; a session kept
// with other maps than those named is replayed with those named, and says so.
void findRunMaps(const std::vector<std::string>& named) {
  const std::vector<std::string>& kept = run.replayed.maps;
  run.maps = findMaps(named.empty() ? kept : named);
  const bool mapsNamed = !named.empty() || !kept.empty();
  run.keptMaps = mapsNamed ? fullPaths(run.maps) : std::vector<std::string>{};
  if (!named.empty() && !kept.empty() && kept != run.keptMaps) {
    complain(run.plan.replay, "kept with other maps; replayed with those named");
  }
}

}  // namespace

int prepareRun(const RunPlan& plan, const std::vector<std::string>& namedMaps) {
  run.plan = plan;
  run.active = isScripted(plan);
  if (const int status = prepareSessions(); status >= 0) {
    return status;
  }
  findRunMaps(namedMaps);
  if (const std::string clash = fileOptionsClash(); !clash.empty()) {
    complain(clash,
             "both read and written, or written twice, by this run; each file it writes "
             "needs one of its own");
    return kUsageStatus;
  }
  if (const int status = openRunFiles(); status >= 0) {
    return status;
  }
  keepStandardOutputForTheRunsFile();
  if (run.plan.frames > 0 || !plan.record.empty()) {
    catchStopSignals();
  }
  return -1;
}

void beginRun(bool fullscreen) {
  // A counted or replayed run's pictures must not depend on when a map's file changed.
  if (run.plan.frames == 0 && run.plan.replay.empty()) {
    watchShownMap();
  }
  if (!run.active) {
    glutIdleFunc(renderFrame);
    glutDisplayFunc(renderFrame);
    return;
  }
  prepareDrawing();
  if (!run.plan.record.empty()) {
    startRecord();
  }
  if (run.plan.frames > 0) {
    watchWindowClose();
  }
  if (fullscreen) {
    run.awaitingFullScreen = true;
    run.fullScreenDeadline = secondsNow() + kFullScreenWaitSeconds;
  }
  if (run.plan.frameRate > 0) {
    glutTimerFunc(0, onPaceTimer, 0);
    glutIdleFunc(nullptr);
  } else {
    glutIdleFunc(onRunFrame);
  }
  glutDisplayFunc(onRunFrame);
}

void drawFrameNow() {
  if (run.active) {
    drawRunFrame();
  } else {
    renderFrame();
  }
}
