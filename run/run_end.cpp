#include "run/run_end.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "files/complaint.h"
#include "run/exit_status.h"
#include "run/frame_counter.h"
#include "run/results.h"
#include "run/run_files.h"
#include "run/run_frame.h"
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

// How the process leaves: through exit and its handlers, or, where X must not be touched
// again (its connection lost, or Xlib inside its own handler), at once, its streams flushed.
enum class Leaving { Normally, WithoutX };

// Only notes the signal: the frame routine ends the run. A second one acts as it would have.
void onStopSignal(int number) {
  run.stopSignal = number;
  std::signal(number, SIG_DFL);
}

// Whether the viewer was started with `number` ignored, as nohup ignores SIGHUP and a shell
// SIGINT for a job in the background: it is left so.
bool startedIgnored(int number) {
#ifndef _WIN32
  struct sigaction now {};
  return sigaction(number, nullptr, &now) == 0 && now.sa_handler == SIG_IGN;
#else
  (void)number;  // Windows has no sigaction: a signal ignored at start cannot be told
  return false;
#endif
}

void sleepUntil(double when) {
  const double now = secondsNow();
  if (when > now) {
    std::this_thread::sleep_for(std::chrono::duration<double>(when - now));
  }
}

// The whole run's frame rate and frame times, when --fps asks for them: 0 frames for a run
// stopped before its first.
void reportRunFrameRate() {
  if (run.plan.fps) {
    printLine(frameRateLine(run.progress.framesDrawn, runSeconds(), kRunSecondsDecimals,
                            frameTimesWords(run.runTimes)));
  }
}

[[noreturn]] void leave(ExitStatus status, Leaving how) {
  run.exiting = how == Leaving::Normally;
  status = writeResults(status, how == Leaving::WithoutX);
  if (how == Leaving::WithoutX) {
    std::fflush(nullptr);
    std::_Exit(statusCode(status));
  }
  std::exit(statusCode(status));
}

// A run cut short by the window closing or a signal: what was drawn, and no picture.
[[noreturn]] void endEarly(const char* why, ExitStatus status, Leaving how = Leaving::Normally) {
  const std::int64_t drawn = run.progress.framesDrawn;
  const std::string budget = run.plan.frames > 0 ? " of " + std::to_string(run.plan.frames) : "";
  complain(std::string(why) + " after " + std::to_string(drawn) + budget + " " +
           framesWord(run.plan.frames > 0 ? run.plan.frames : drawn));
  reportRunFrameRate();
  leave(status, how);
}

[[noreturn]] void endOnXError(const std::string& words, Leaving how) {
  complain(words);
  reportRunFrameRate();
  leave(ExitStatus::XError, how);
}

// freeglut also closes its window from an exit handler, as any exit ends the process; that is
// no person closing it. Registered after glutInit, this handler runs before freeglut's.
void noteExiting() {
  run.exiting = true;
}

}  // namespace

void windowClosed() {
  if (!run.exiting) {
    endEarly("window closed", ExitStatus::WindowClosed);
  }
}

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

double runSeconds() {
  if (run.started < 0.0) {
    return 0.0;
  }
  const double end =
      run.plan.frameRate > 0 ? std::max(run.lastShown, run.pace.next) : run.lastShown;
  return end - run.started - (run.pictureSeconds - run.pictureSinceSwap);
}

void printLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

void catchStopSignals() {
  for (const SignalName& signal : kStopSignals) {
    if (!startedIgnored(signal.number)) {
      std::signal(signal.number, onStopSignal);
    }
  }
}

void stopIfAsked() {
  const int number = run.stopSignal;
  for (const SignalName& signal : kStopSignals) {
    if (signal.number == number) {
      endEarly(signal.words, endedBySignal(number));
    }
  }
  if (!run.xError.empty()) {
    endOnXError(run.xError, Leaving::Normally);
  }
}

void takeXError(const std::string& words) {
  if (run.exiting || !run.xError.empty()) {
    return;  // the window's own closing on the way out, or one more of the same cause
  }
  if (run.looping && run.ownFrames) {
    run.xError = words;
    return;
  }
  endOnXError(words, Leaving::WithoutX);
}

void watchWindowClose() {
  std::atexit(noteExiting);
}

void endWithWindowGone() {
  if (run.ownFrames && run.plan.frames > 0) {
    endEarly("window closed", ExitStatus::WindowClosed, Leaving::WithoutX);
  }
  // As GLUT ends the viewer when its window is closed.
  leave(ExitStatus::Done, Leaving::WithoutX);
}

void quitRun(ExitStatus status) {
  if (run.plan.frames > 0) {
    complain("quit after " + std::to_string(run.progress.framesDrawn) + " of " +
             std::to_string(run.plan.frames) + " " + framesWord(run.plan.frames));
  }
  reportRunFrameRate();
  leave(status, Leaving::Normally);
}

void endRun(const RgbImage& lastFrame) {
  ExitStatus status = ExitStatus::Done;
  const RunPlan& plan = run.plan;
  if (run.pictureFailed) {
    status = ExitStatus::CannotWrite;
  } else if (!plan.screenshot.empty() && !plan.everyFrame) {
    std::string problem;
    timeAsPicture([&] { problem = writePicture(lastFrame); });
    if (!problem.empty()) {
      complain(plan.screenshot, problem);
      status = ExitStatus::CannotWrite;
    }
  }
  if (run.progress.keysPressed < plan.keys.size()) {
    complain("--frames " + std::to_string(plan.frames) +
             " ended the run before these --keys were pressed: " +
             countKeys(plan.keys, run.progress.keysPressed));
  }
  if (plan.frameRate > 0) {
    sleepUntil(run.pace.next);  // the last frame's period is part of the run
  }
  reportRunFrameRate();
  leave(status, Leaving::Normally);
}
