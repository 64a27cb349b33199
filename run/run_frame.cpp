#include "run/run_frame.h"

#include <string>

#include "files/complaint.h"
#include "maps/maps.h"
#include "render/frame.h"
#include "render/read_back.h"
#include "render/smooth_edges.h"
#include "run/kept_session.h"
#include "run/readout.h"
#include "run/run_end.h"
#include "run/run_files.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

// The frame, and over it the readout of --hud. A budgeted run, whose pictures must be the
// same on every run, shows no frame rate.
void drawRunPicture(RunState& run, SceneState& scene) {
  beginSmoothFrame(run.smooth);
  drawScene(scene);
  if (run.plan.hud) {
    HudFigures figures;
    figures.frame = frameNumberShown(run.progress);
    figures.framesPerSecond = run.plan.frames > 0 ? -1.0 : run.hudCounter.lastRate;
    figures.map = mapShown(run.maps);
    drawHud(run.readout, readoutText(scene, figures));
  }
  glFlush();
  endSmoothFrame(run.smooth);
}

void countShownFrame(RunState& run) {
  countDrawnFrame(run.progress);
  beginRecordFile(run);
  const double shown = secondsNow();
  if (run.plan.hud) {
    countFrame(run.hudCounter, shown);
  }
  // From swap to swap, the writing of a picture between them left out.
  const double frameTime = shown - run.lastShown - run.pictureSinceSwap;
  if (run.lastShown >= 0.0 && (run.plan.fps || !run.plan.results.empty())) {
    addFrameTime(run.runTimes, frameTime);
    addFrameTime(run.intervalTimes, frameTime);
  }
  run.lastShown = shown;
  run.pictureSinceSwap = 0.0;
  if (run.plan.fps) {
    const std::string line = countFrame(run.fpsCounter, shown, &run.intervalTimes);
    if (!line.empty()) {
      printLine(line);
    }
  }
}

}  // namespace

// A full-screen run draws nothing until the projection fills the screen, so that its first
// counted frame does; a window manager that never grants it is waited for a while, then drawn
// in. GLUT knows the new size before its reshape has set the viewport: the viewport tells.
bool waitingForFullScreen(RunState& run) {
  if (!run.awaitingFullScreen) {
    return false;
  }
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const PixelSize screen = run.window.screenSize();
  const bool filled = viewport[2] == screen.width && viewport[3] == screen.height;
  if (!filled && secondsNow() < run.fullScreenDeadline) {
    return true;
  }
  if (!filled) {
    complain("the window did not fill the screen; drawing in it as it is");
  }
  run.awaitingFullScreen = false;
  // Mesa's software drivers take a window's new size for its buffers at a swap: one swap of
  // the empty buffers, and the next frame is drawn, and read back, whole.
  run.window.swapBuffers();
  return true;
}

void timeAsPicture(RunState& run, const std::function<void()>& work) {
  const double before = secondsNow();
  work();
  const double seconds = secondsNow() - before;
  run.pictureSeconds += seconds;
  run.pictureSinceSwap += seconds;
}

// Every frame of the run, whether idle or drawn at once by a key or a drag. Under --frame-rate
// each takes the next place on the pace's grid, but a key's frame never waits for it.
void drawRunFrame(RunState& run, SceneState& scene) {
  stopIfAsked(run);
  const double now = secondsNow();
  if (run.plan.frameRate > 0) {
    frameDue(run.pace, run.plan.frameRate, now);
  }
  if (run.started < 0.0) {
    run.started = now;
  }
  const bool last = isLastFrame(run.plan, run.progress);
  drawRunPicture(run, scene);
  RgbImage picture;
  if ((last || run.plan.everyFrame) && !run.plan.screenshot.empty()) {
    // Before the swap, which leaves the back buffer undefined; part of the picture's cost,
    // which the run's clock leaves out.
    const PixelSize size = run.window.size();
    timeAsPicture(run, [&] { picture = readBackFrame(size.width, size.height); });
  }
  run.window.swapBuffers();
  countShownFrame(run);
  if (run.plan.everyFrame) {
    timeAsPicture(run, [&] { saveNumberedPicture(run, picture); });
  }
  if (last) {
    endRun(run, picture);
  }
}

void drawFrameNow(RunState& run, SceneState& scene) {
  if (!run.ownFrames) {
    renderFrame(scene);
    run.window.swapBuffers();
  } else if (run.scripted && mapAwaited(run.maps)) {
    run.frameOwed = true;  // drawn once the map is in, as if it had been there at once
  } else {
    drawRunFrame(run, scene);
  }
}
