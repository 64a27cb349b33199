#include "app/run_loop.h"

#include <climits>
#include <cstdlib>

#include "app/window_records.h"
#include "app/window_title.h"
#include "render/glut_headers.h"
#include "run/kept_session.h"
#include "run/run.h"
#include "run/run_end.h"
#include "run/run_maps.h"

RunState* windowRun = nullptr;
SceneState* windowScene = nullptr;

namespace {

// GLUT's timer carries an int: the map timer's chain number wraps within it.
constexpr unsigned kChainMask = INT_MAX;
// The map timer's current chain: a step starts a new one at once, and the older one stops.
unsigned mapTimerChain = 0;

void swapBuffers() {
  glutSwapBuffers();
}

PixelSize windowSize() {
  return {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
}

PixelSize screenSize() {
  return {glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT)};
}

// GLUT looks an entry point up where the platform keeps them (GLX's or WGL's look-up).
GlEntry lookUpGl(const char* name) {
#if defined(FREEGLUT) || defined(_WIN32)
  return reinterpret_cast<GlEntry>(glutGetProcAddress(name));
#else
  (void)name;
  return nullptr;
#endif
}

void onMapTimer(int chain) {
  if (static_cast<unsigned>(chain) == mapTimerChain) {
    glutTimerFunc(mapTimerTick(*windowRun, *windowScene), onMapTimer, chain);
  }
}

void startMapChain(unsigned firstMs) {
  mapTimerChain = (mapTimerChain + 1) & kChainMask;
  glutTimerFunc(firstMs, onMapTimer, static_cast<int>(mapTimerChain));
}

void onPaceTimer(int) {
  glutTimerFunc(static_cast<unsigned>(paceTick(*windowRun, *windowScene) * 1000.0), onPaceTimer, 0);
}

void onRunFrame() {
  runFrame(*windowRun, *windowScene);
}

void onPlainFrame() {
  plainFrame(*windowRun, *windowScene);
}

using FrameRoutine = void (*)();
FrameRoutine idleRoutine() {
  switch (idleFrame(*windowRun)) {
    case IdleFrame::Plain:
      return onPlainFrame;
    case IdleFrame::Run:
      return onRunFrame;
    case IdleFrame::None:
      break;
  }
  return nullptr;
}

// A window destroyed by another client is not always refused by the next frame's requests: the
// driver may find its drawable gone and draw on into nothing, and a resting run draws nothing.
// So the window is asked where it is this often, a request the server answers: once the window
// is gone the server refuses it, and the refusal ends the run as any X error does. A signal is
// looked for then too, for a run that rests.
void onWindowLook(int) {
  stopIfAsked(*windowRun);
  glutGet(GLUT_WINDOW_X);
  glutTimerFunc(static_cast<unsigned>(windowLookSeconds() * 1000.0), onWindowLook, 0);
}

[[maybe_unused]] void onWindowStatus(int state) {
  const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
  if (!windowHidden(*windowRun, hidden)) {
    return;
  }
  glutIdleFunc(idleRoutine());
}

[[maybe_unused]] void onWindowClose() {
  windowClosed(*windowRun);
}

// GLUT closes its window from an exit handler of its own, registered when it started: these,
// registered later, run before it.
void atExitNoteIt() {
  noteExiting(*windowRun);
}

void atExitFinishRecord() {
  finishRecord(*windowRun);
}

}  // namespace

void handWindowToRun(RunState& run, SceneState& scene) {
  windowRun = &run;
  windowScene = &scene;
  WindowCalls calls;
  calls.swapBuffers = swapBuffers;
  calls.size = windowSize;
  calls.screenSize = screenSize;
  calls.setTitle = setWindowTitle;
  calls.lookUp = lookUpGl;
  useWindow(run, calls);
}

void hurryMapsIfStepped() {
  if (takeMapsHurried(*windowRun)) {
    startMapChain(kMapAwaitedMs);
  }
}

void runInGlutLoop(RunState& run, bool fullscreen) {
  if (const unsigned first = startMapWatch(run); first > 0) {
    startMapChain(first);
  }
  beginRun(run, fullscreen);
  if (keepsSession(run)) {
    std::atexit(atExitFinishRecord);
  }
#ifdef FREEGLUT
  if (restsWhileHidden(run)) {
    glutWindowStatusFunc(onWindowStatus);
  }
  if (watchesWindowClose(run)) {
    std::atexit(atExitNoteIt);
    glutCloseFunc(onWindowClose);  // freeglut would otherwise end the run with status 0
  }
#endif
  if (pacesItsFrames(run)) {
    glutTimerFunc(0, onPaceTimer, 0);
  }
  glutTimerFunc(static_cast<unsigned>(windowLookSeconds() * 1000.0), onWindowLook, 0);
  glutIdleFunc(idleRoutine());
  glutDisplayFunc(idleFrame(run) == IdleFrame::Plain ? onPlainFrame : onRunFrame);  // as idle
  glutMainLoop();
}
