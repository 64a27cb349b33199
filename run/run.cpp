#include "run/run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "files/complaint.h"
#include "files/file_name.h"
#include "maps/maps.h"
#include "render/frame.h"
#include "render/smooth_edges.h"
#include "render/swap_interval.h"
#include "run/exit_status.h"
#include "run/kept_session.h"
#include "run/machine.h"
#include "run/results.h"
#include "run/run_end.h"
#include "run/run_files.h"
#include "run/run_frame.h"
#include "run/run_input.h"
#include "run/run_maps.h"
#include "run/run_state.h"
#include "scene/scene_state.h"

namespace {

// How long a full-screen run waits for the window to fill the screen before drawing anyway.
constexpr double kFullScreenWaitSeconds = 5.0;
// How often a paced run wakes between frames to see whether a signal has asked it to stop.
constexpr double kSignalCheckSeconds = 0.1;

}  // namespace

// The replayed events due before this frame, then the script's next key, then the frame. A
// scripted run whose input asked for a map not read yet stops where it is and goes on there
// once the map is in, so that its frames are those of a run that never waited.
void runFrame(RunState& run, SceneState& scene) {
  stopIfAsked(run);
  if (waitingForFullScreen(run) || !scriptedMapIsIn(run, scene)) {
    return;
  }
  if (run.frameStep == FrameStep::Replayed) {
    while (const InputEvent* event = takeReplayedEvent(run)) {
      takeInput(run, scene, *event);
      if (waitsForMap(run)) {
        return;
      }
    }
    run.frameStep = FrameStep::Key;
  }
  if (run.frameStep == FrameStep::Key) {
    run.frameStep = FrameStep::Draw;
    if (const ScriptKey* key = takeNextKey(run.plan, run.progress)) {
      takeInput(run, scene, {0, InputKind::Key, *key});
      if (waitsForMap(run)) {
        return;
      }
    }
  }
  run.frameStep = FrameStep::Replayed;
  drawRunFrame(run, scene);
}

void plainFrame(RunState& run, SceneState& scene) {
  renderFrame(scene);
  run.window.swapBuffers();
}

double paceTick(RunState& run, SceneState& scene) {
  stopIfAsked(run);
  constexpr double kTimerResolution = 0.001;  // timers count whole milliseconds
  const bool due = !run.pace.started || run.pace.next - secondsNow() < kTimerResolution;
  if (due && !run.resting) {
    runFrame(run, scene);
  }
  const double most = waitsForMap(run) ? kMapWaitSeconds : kSignalCheckSeconds;
  return std::clamp(run.pace.started ? run.pace.next - secondsNow() : 0.0, 0.0, most);
}

bool pacesItsFrames(const RunState& run) {
  return run.ownFrames && run.plan.frameRate > 0;
}

IdleFrame idleFrame(const RunState& run) {
  if (run.resting) {
    return IdleFrame::None;
  }
  if (!run.ownFrames) {
    return IdleFrame::Plain;
  }
  return run.plan.frameRate > 0 ? IdleFrame::None : IdleFrame::Run;
}

bool restsWhileHidden(const RunState& run) {
  return !run.scripted;
}

bool windowHidden(RunState& run, bool hidden) {
  if (hidden == run.resting) {
    return false;
  }
  run.resting = hidden;
  return true;
}

double windowLookSeconds() {
  return kSignalCheckSeconds;
}

namespace {

// The run's text lines (tex = N, the frame rates) go to standard error when standard output
// carries the picture or the kept session, so that nothing else is mixed into it.
void keepStandardOutputForTheRunsFile(RunState& run) {
  if (takesStandardOutput(run.picture) || takesStandardOutput(run.record) ||
      takesStandardOutput(run.resultsFile)) {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
  }
}

// Smooth edges, the swap interval and the readout, set up once the window's context exists.
void prepareDrawing(RunState& run) {
  if (run.plan.samples > 0) {
    if (const std::string word = startSmoothEdges(run.smooth, run.plan.samples, run.window.lookUp);
        !word.empty()) {
      complain(word);
    }
  }
  if (run.plan.swapInterval >= 0) {
    std::string problem;
    run.swap = setSwapInterval(run.plan.swapInterval, run.window.lookUp, &problem);
    if (!problem.empty()) {
      complain(problem);
    }
  }
  if (!run.plan.results.empty()) {
    noteResultsContext(run);
  }
  if (run.plan.hud) {
    prepareHud(run.readout, run.window.lookUp);
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
void findRunMaps(RunState& run, SceneState& scene, const std::vector<std::string>& named) {
  const std::vector<std::string>& kept = run.replayed.maps;
  run.maps.keptPixels = &scene.envImage;
  findMaps(run.maps, named.empty() ? kept : named);
  const bool mapsNamed = !named.empty() || !kept.empty();
  run.keptMaps = mapsNamed ? fullPaths(mapFiles(run.maps)) : std::vector<std::string>{};
  if (!named.empty() && !kept.empty() && kept != run.keptMaps) {
    complain(run.plan.replay, "kept with other maps; replayed with those named");
  }
}

}  // namespace

Outcome prepareRun(RunState& run, SceneState& scene, const RunPlan& plan,
                   const std::vector<std::string>& namedMaps) {
  run.plan = plan;
  run.title = kWindowTitle;  // as the window is opened
  run.prepared = secondsNow();
  run.startedAt = calendarNow();
  run.ownFrames = drawsItsOwnFrames(plan);
  run.scripted = plan.frames > 0 || !plan.keys.empty() || !plan.replay.empty();
  if (const Outcome ended = prepareSessions(run)) {
    return ended;
  }
  findRunMaps(run, scene, namedMaps);
  if (const FileClash clash = fileOptionsClash(run); !clash.file.empty()) {
    complain(clash.file, "both read and written, or written twice, by this run (" + clash.options +
                             "); each file it writes needs one of its own");
    return ExitStatus::Usage;
  }
  if (const Outcome ended = openRunFiles(run)) {
    return ended;
  }
  keepStandardOutputForTheRunsFile(run);
  if (run.ownFrames) {
    catchStopSignals();
  }
  return std::nullopt;
}

void useWindow(RunState& run, const WindowCalls& window) {
  run.window = window;
}

void beginRun(RunState& run, bool fullscreen) {
  run.looping = true;
  if (!run.ownFrames) {
    return;
  }
  prepareDrawing(run);
  if (!run.plan.record.empty()) {
    startRecord(run);
  }
  if (fullscreen) {
    run.awaitingFullScreen = true;
    run.fullScreenDeadline = secondsNow() + kFullScreenWaitSeconds;
  }
}

bool watchesWindowClose(const RunState& run) {
  return run.ownFrames && run.plan.frames > 0;
}

void loadRunMaps(RunState& run, SceneState& scene) {
  scene.envTexture = loadEnvironmentMap(run.maps);
}
