#include "run/run_end.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "files/complaint.h"
#include "run/exit_status.h"
#include "run/results.h"
#include "run/run_files.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"

namespace {

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
  run.stopSignal = number;
  std::signal(number, SIG_DFL);
}

void sleepUntil(double when) {
  const double now = secondsNow();
  if (when > now) {
    std::this_thread::sleep_for(std::chrono::duration<double>(when - now));
  }
}

// The whole run's frame rate and frame times, when --fps asks for them and a frame was drawn.
void reportRunFrameRate() {
  if (run.plan.fps && run.started >= 0.0) {
    printLine(frameRateLine(run.progress.framesDrawn, secondsNow() - run.started,
                            kRunSecondsDecimals, frameTimesWords(run.runTimes)));
  }
}

// A run cut short by the window closing or a signal: what was drawn, and no picture.
[[noreturn]] void endEarly(const char* why, int status, bool displayGone = false) {
  const std::string budget = run.plan.frames > 0 ? " of " + std::to_string(run.plan.frames) : "";
  complain(std::string(why) + " after " + std::to_string(run.progress.framesDrawn) + budget +
           " frames");
  reportRunFrameRate();
  std::exit(writeResults(status, displayGone));
}

// freeglut also closes its window from an exit handler, as any exit ends the process; that is
// no person closing it. Registered after glutInit, this handler runs before freeglut's.
void noteExiting() {
  run.exiting = true;
}

[[maybe_unused]] void onWindowClosed() {
  if (!run.exiting) {
    endEarly("window closed", statusCode(ExitStatus::WindowClosed));
  }
}

}  // namespace

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

void printLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

void catchStopSignals() {
  for (const SignalName& signal : kStopSignals) {
    std::signal(signal.number, onStopSignal);
  }
}

void stopIfSignalled() {
  const int number = run.stopSignal;
  for (const SignalName& signal : kStopSignals) {
    if (signal.number == number) {
      endEarly(signal.words, statusCode(ExitStatus::SignalBase) + number);
    }
  }
}

void watchWindowClose() {
#ifdef FREEGLUT
  std::atexit(noteExiting);
  glutCloseFunc(onWindowClosed);  // freeglut would otherwise end the run with status 0
#endif
}

void endWithWindowGone() {
  if (run.ownFrames && run.plan.frames > 0) {
    endEarly("window closed", statusCode(ExitStatus::WindowClosed), true);
  }
  // As GLUT ends the viewer when its window is closed.
  std::exit(writeResults(statusCode(ExitStatus::Done), true));
}

void quitRun(ExitStatus status) {
  std::exit(writeResults(statusCode(status)));
}

void endRun(const RgbImage& lastFrame) {
  int status = statusCode(ExitStatus::Done);
  const RunPlan& plan = run.plan;
  if (run.pictureFailed) {
    status = statusCode(ExitStatus::CannotWrite);
  } else if (!plan.screenshot.empty() && !plan.everyFrame) {
    const std::string problem = writePicture(lastFrame);
    if (!problem.empty()) {
      complain(plan.screenshot, problem);
      status = statusCode(ExitStatus::CannotWrite);
    }
  }
  if (run.progress.keysPressed < plan.keys.size()) {
    complain("--frames " + std::to_string(plan.frames) +
             " ended the run before these --keys were pressed: " +
             spellKeys(plan.keys, run.progress.keysPressed));
  }
  if (plan.frameRate > 0) {
    sleepUntil(run.pace.next);  // the last frame's period is part of the run
  }
  reportRunFrameRate();
  std::exit(writeResults(status));
}
