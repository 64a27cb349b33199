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

// The stop signal taken, set by its handler and acted on between frames: the process's, as
// signals are, not any one run's.
volatile std::sig_atomic_t stopSignal = 0;

// Only notes the signal: the frame routine ends the run. A second one acts as it would have.
void onStopSignal(int number) {
  stopSignal = number;
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
void reportRunFrameRate(RunState& run) {
  if (run.plan.fps) {
    printLine(frameRateLine(run.progress.framesDrawn, runSeconds(run), kRunSecondsDecimals,
                            frameTimesWords(run.runTimes)));
  }
}

[[noreturn]] void leave(RunState& run, ExitStatus status, Leaving how) {
  run.exiting = how == Leaving::Normally;
  status = writeResults(run, status, how == Leaving::WithoutX);
  if (how == Leaving::WithoutX) {
    std::fflush(nullptr);
    std::_Exit(statusCode(status));
  }
  std::exit(statusCode(status));
}

// A run cut short by the window closing or a signal: what was drawn, and no picture.
[[noreturn]] void endEarly(RunState& run, const char* why, ExitStatus status,
                           Leaving how = Leaving::Normally) {
  const std::int64_t drawn = run.progress.framesDrawn;
  const std::string budget = run.plan.frames > 0 ? " of " + std::to_string(run.plan.frames) : "";
  complain(std::string(why) + " after " + std::to_string(drawn) + budget + " " +
           framesWord(run.plan.frames > 0 ? run.plan.frames : drawn));
  reportRunFrameRate(run);
  leave(run, status, how);
}

[[noreturn]] void endOnXError(RunState& run, const std::string& words, Leaving how) {
  complain(words);
  reportRunFrameRate(run);
  leave(run, ExitStatus::XError, how);
}

}  // namespace

void noteExiting(RunState& run) {
  run.exiting = true;
}

void windowClosed(RunState& run) {
  if (!run.exiting) {
    endEarly(run, "window closed", ExitStatus::WindowClosed);
  }
}

double secondsNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

double runSeconds(const RunState& run) {
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

void stopIfAsked(RunState& run) {
  const int number = stopSignal;
  for (const SignalName& signal : kStopSignals) {
    if (signal.number == number) {
      endEarly(run, signal.words, endedBySignal(number));
    }
  }
  if (!run.xError.empty()) {
    endOnXError(run, run.xError, Leaving::Normally);
  }
}

void takeXError(RunState& run, const std::string& words) {
  if (run.exiting || !run.xError.empty()) {
    return;  // the window's own closing on the way out, or one more of the same cause
  }
  if (run.looping && run.ownFrames) {
    run.xError = words;
    return;
  }
  endOnXError(run, words, Leaving::WithoutX);
}

void endWithWindowGone(RunState& run) {
  if (run.ownFrames && run.plan.frames > 0) {
    endEarly(run, "window closed", ExitStatus::WindowClosed, Leaving::WithoutX);
  }
  // As GLUT ends the viewer when its window is closed.
  leave(run, ExitStatus::Done, Leaving::WithoutX);
}

void quitRun(RunState& run, ExitStatus status) {
  if (run.plan.frames > 0) {
    complain("quit after " + std::to_string(run.progress.framesDrawn) + " of " +
             std::to_string(run.plan.frames) + " " + framesWord(run.plan.frames));
  }
  reportRunFrameRate(run);
  leave(run, status, Leaving::Normally);
}

void endRun(RunState& run, const RgbImage& lastFrame) {
  ExitStatus status = ExitStatus::Done;
  const RunPlan& plan = run.plan;
  if (run.pictureFailed) {
    status = ExitStatus::CannotWrite;
  } else if (!plan.screenshot.empty() && !plan.everyFrame) {
    std::string problem;
    timeAsPicture(run, [&] { problem = writePicture(run, lastFrame); });
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
  reportRunFrameRate(run);
  leave(run, status, Leaving::Normally);
}
